#include "core/skins/SkinImages.h"

QList<SkinImageUse> SkinImages::allImages()
{
    QList<SkinImageUse> images(kMainWindow.begin(), kMainWindow.end());
    images.append({ kHangUp, "ButtonDial", SkinSlot::Up, SkinLayout::MainWindow::ButtonDial.size() });
    images.append(QList<SkinImageUse>(kCallLog.begin(), kCallLog.end()));
    images.append({ kHandle, kEditLog, kSettings, kProvider, kConnection, kTariff });
    images.append(QList<SkinImageUse>(kMessageKinds.begin(), kMessageKinds.end()));
    return images;
}
