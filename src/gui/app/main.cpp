#include "core/skins/SkinLibrary.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/dialogs/DialUpServiceName.h"
#include "gui/dialogs/Tsplash.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/messages/SkinDamageReport.h"
#include "platform/PlatformServices.h"
#include "platform/instance/FolderInstance.h"
#include "platform/sound/WaveSoundPlayer.h"

#include <QApplication>
#include <QDir>

#include <utility>

int main(int argc, char *argv[])
{
    // Skins are pixel art: whole device pixels per picture pixel keep them crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(argc, argv);
    SkinLibrary::setProgramFolder(QApplication::applicationDirPath());
    const QString folder = QApplication::applicationDirPath();
    // Two programs on one folder would overwrite each other's files.
    FolderInstance instance(folder);
    switch (instance.claim()) {
    case FolderInstance::Claim::Ours:
        break;
    case FolderInstance::Claim::Shown:
        return 0;
    case FolderInstance::Claim::InUse:
        SkinMessageDlg(mtError,
            QStringLiteral("Another Tollwise is using the folder\r%1\r\rIt does not answer, so it cannot be brought "
                           "to the front. This one ends without changing anything.")
                .arg(QDir::toNativeSeparators(folder)),
            mbOK);
        return 1;
    }
    auto *splash = new Tsplash;

    // A signal before the main window runs ends the start-up at once and
    // writes nothing: nothing has been changed yet that the next start would
    // not do again. Afterwards it ends the program as a confirmed exit does.
    Tapp *running = nullptr;
    bool startupEnded = false;
    const auto signalWatch = watchTerminationSignals([&] {
        startupEnded = true;
        if (running)
            running->endSession();
        else if (splash)
            splash->stopWaiting();
        // Every event loop ends, an open dialog's too; one asked for before
        // the main loop runs ends that loop as soon as it starts.
        QCoreApplication::exit(0);
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    splash->showNow();

    QApplication::setApplicationName(QStringLiteral("Dialtally"));
    QApplication::setQuitOnLastWindowClosed(false);
    // A damaged skin image is shown once; its control keeps the picture it
    // was designed with.
    reportDamagedSkinImages();

    SystemClock clock;
    WaveSoundPlayer sound;
    const auto startup = createStartupRegistration();
    const ChosenDialUpService dialUp = createDialUpService(folder, storedDialUpServiceChoice(folder));
    setDialUpServiceName(dialUp.name);
    if (startupEnded) {
        delete std::exchange(splash, nullptr);
        return 0;
    }

    TCallLog callLog;
    TBlind blind;
    Tapp app(
        QApplication::applicationFilePath(), AppServices { clock, sound, *startup, *dialUp.service }, &callLog, &blind);
    if (!startupEnded)
        splash->closeWhenDue();
    delete std::exchange(splash, nullptr);
    if (startupEnded)
        return 0;
    running = &app;
    QObject::connect(&instance, &FolderInstance::showRequested, &app, &Tapp::bringToFront);
    if (app.core().settings().LoadMinimised)
        app.showMinimized();
    return application.exec();
}
