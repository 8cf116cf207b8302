#include "core/skins/SkinLibrary.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/dialogs/DialUpServiceName.h"
#include "gui/dialogs/Tsplash.h"
#include "gui/messages/SkinDamageReport.h"
#include "platform/PlatformServices.h"
#include "platform/sound/WaveSoundPlayer.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Skins are pixel art: whole device pixels per picture pixel keep them crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(argc, argv);
    SkinLibrary::setProgramFolder(QApplication::applicationDirPath());
    auto *splash = new Tsplash;
    splash->showNow();

    QApplication::setApplicationName(QStringLiteral("Dialtally"));
    QApplication::setQuitOnLastWindowClosed(false);
    // A damaged skin image is shown once; its control keeps the picture it
    // was designed with.
    reportDamagedSkinImages();

    SystemClock clock;
    WaveSoundPlayer sound;
    const auto startup = createStartupRegistration();
    const QString folder = QApplication::applicationDirPath();
    const ChosenDialUpService dialUp = createDialUpService(folder, storedDialUpServiceChoice(folder));
    setDialUpServiceName(dialUp.name);

    TCallLog callLog;
    TBlind blind;
    Tapp app(
        QApplication::applicationFilePath(), AppServices { clock, sound, *startup, *dialUp.service }, &callLog, &blind);

    const auto signalWatch = watchTerminationSignals([&app] {
        app.endSession();
        // Every event loop ends, an open dialog's too; one asked for before
        // the main loop runs ends that loop as soon as it starts.
        QCoreApplication::exit(0);
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });

    splash->closeWhenDue();
    delete splash;
    if (app.core().settings().LoadMinimised)
        app.showMinimized();
    return application.exec();
}
