#include "app/Tapp.h"
#include "calllog/TCallLog.h"
#include "connection/TConnectDlg.h"
#include "PlatformServices.h"
#include "skins/SkinLibrary.h"
#include "sound/WaveSoundPlayer.h"
#include "ui/MessageDialogs.h"
#include "ui/TBlind.h"
#include "ui/Tsplash.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    auto *splash = new Tsplash;
    splash->showNow();

    QApplication::setApplicationName(QStringLiteral("Dialtally"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Skin images come from beside the program; a damaged one is shown once
    // and its control keeps the picture it was designed with.
    SkinLibrary::setProgramFolder(QApplication::applicationDirPath());
    SkinLibrary::setDamageHandler(
        [](const QString &, const QString &message) { SkinMessageDlg(mtError, message, mbOK); });

    SystemClock clock;
    WaveSoundPlayer sound;
    const auto startup = createStartupRegistration();

    TCallLog callLog;
    TBlind blind;
    Tapp app(QApplication::applicationFilePath(), AppServices{clock, sound, *startup}, &callLog, &blind);
    TConnectDlg connectDlg;

    splash->closeWhenDue();
    delete splash;
    if (app.core().settings().LoadMinimised)
        app.showMinimized();
    return application.exec();
}
