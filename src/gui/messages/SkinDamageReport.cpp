#include "gui/messages/SkinDamageReport.h"

#include "core/skins/SkinLibrary.h"
#include "gui/messages/MessageDialogs.h"

#include <QFileInfo>

QString damagedSkinText(const QString &path, const QString &readerText)
{
    return QStringLiteral("%1\r\rThe skin image \"%2\" is damaged.\rDialtally goes on with its built-in picture.")
        .arg(readerText, QFileInfo(path).fileName());
}

void reportDamagedSkinImages()
{
    SkinLibrary::setDamageHandler([](const QString &path, const QString &readerText) {
        SkinMessageDlg(mtError, damagedSkinText(path, readerText), mbOK);
    });
}
