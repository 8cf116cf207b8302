#include "core/datafolder/ProgramFolders.h"
#include "core/skins/SkinImageCache.h"
#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/ProjectLinks.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/app/TappTray.h"
#include "gui/calllog/TCallLog.h"
#ifndef _WIN32
#include "gui/connection/SimEntryDialog.h"
#endif
#include "gui/controls/SkinLook.h"
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

#include <memory>

#ifdef TOLLWISE_HAVE_DESKTOP_NOTIFICATIONS
#include "platform/notifications/CallNotifications.h"

#include <QDBusServiceWatcher>
#endif

int main(int argc, char *argv[])
{
    // Skins are pixel art: whole device pixels per picture pixel keep them crisp.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(argc, argv);
    SkinLook::applyToApplication(application);
    const ProgramFolders folders = locateProgramFolders(QApplication::applicationFilePath());
    SkinLibrary::setProgramFolders(folders.searchPath());
    SkinLibrary::setCacheFolder(SkinImageCache::defaultFolder());
    const QString &folder = folders.dataFolder;
    // Without its folder the program still runs; every save then says what failed.
    const auto made = makeDataFolder(folders);
    // Two programs on one folder would overwrite each other's files.
    FolderInstance instance(folder);
    switch (made ? instance.claim() : FolderInstance::Claim::Ours) {
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
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kProjectDesktopId));
    QApplication::setQuitOnLastWindowClosed(false);
    // A damaged skin image is shown once; its control keeps the picture it
    // was designed with.
    reportDamagedSkinImages();

    SystemClock clock;
    WaveSoundPlayer sound;
    const auto startup = createStartupRegistration();
    if (!made)
        SkinMessageDlg(mtError, QStringLiteral("Dialtally cannot keep its files:\r%1").arg(made.error()), mbOK);
#ifdef _WIN32
    const SimEntryEditor entryEditor; // the system's service has dialogs of its own
#else
    const SimEntryEditor entryEditor = &SimEntryDialog::askOver;
#endif
    const ChosenDialUpService dialUp = createDialUpService(folder, storedDialUpServiceChoice(folder), entryEditor);
    setDialUpServiceName(dialUp.name);
    if (startupEnded) {
        delete std::exchange(splash, nullptr);
        return 0;
    }

    TCallLog callLog;
    TBlind blind;
    Tapp app(folders, AppServices { clock, sound, *startup, *dialUp.service }, &callLog, &blind);
#ifdef TOLLWISE_HAVE_DESKTOP_NOTIFICATIONS
    // Before the splash's wait: the monitor ticks meanwhile, and a budget
    // already spent is told at the first of them.
    DesktopNotifications notifications(QDBusConnection::sessionBus(), QString::fromLatin1(kProjectDesktopId));
    CallNotifications callNotifications(app.monitor(), app.spending(), app.core().settings(), notifications);
    std::unique_ptr<QDBusServiceWatcher> serviceWatch;
    if (dialUp.name == QLatin1String("NetworkManager")) {
        serviceWatch = std::make_unique<QDBusServiceWatcher>(QStringLiteral("org.freedesktop.NetworkManager"),
            QDBusConnection::systemBus(), QDBusServiceWatcher::WatchForUnregistration);
        QObject::connect(serviceWatch.get(), &QDBusServiceWatcher::serviceUnregistered, &callNotifications,
            [&callNotifications, name = dialUp.name] { callNotifications.dialUpServiceLost(name); });
    }
#endif
    if (!startupEnded)
        splash->closeWhenDue();
    delete std::exchange(splash, nullptr);
    if (startupEnded)
        return 0;
    running = &app;
    QObject::connect(&instance, &FolderInstance::showRequested, &app, &Tapp::bringToFront);

    // Where the desktop has no tray, the program is only its windows, as ever.
    std::unique_ptr<TappTray> tray;
    if (TrayIcon::desktopHasTray())
        tray = std::make_unique<TappTray>(app, callLog, blind);

    if (app.core().settings().LoadMinimised) {
        if (tray)
            tray->hideWindows();
        else
            app.showMinimized();
    }
    return application.exec();
}
