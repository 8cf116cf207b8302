#include "core/datafolder/ProgramFolders.h"
#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/ProjectLinks.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/app/TappTray.h"
#include "gui/calllog/TCallLog.h"
#include "gui/dialogs/DialUpServiceName.h"
#include "gui/dialogs/Tsplash.h"
#include "gui/messages/MessageDialogs.h"
#include "gui/messages/SkinDamageReport.h"
#include "platform/PlatformServices.h"
#include "platform/sound/WaveSoundPlayer.h"

#include <QApplication>

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
    const ProgramFolders folders = locateProgramFolders(QApplication::applicationFilePath());
    SkinLibrary::setProgramFolders(folders.searchPath());
    auto *splash = new Tsplash;
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
    // Without its folder the program still runs; every save then says what failed.
    if (const auto made = makeDataFolder(folders); !made)
        SkinMessageDlg(mtError, QStringLiteral("Dialtally cannot keep its files:\r%1").arg(made.error()), mbOK);
    const QString &folder = folders.dataFolder;
    const ChosenDialUpService dialUp = createDialUpService(folder, storedDialUpServiceChoice(folder));
    setDialUpServiceName(dialUp.name);

    TCallLog callLog;
    TBlind blind;
    Tapp app(folders, AppServices { clock, sound, *startup, *dialUp.service }, &callLog, &blind);

    const auto signalWatch = watchTerminationSignals([&app] {
        app.endSession();
        // Every event loop ends, an open dialog's too; one asked for before
        // the main loop runs ends that loop as soon as it starts.
        QCoreApplication::exit(0);
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });

#ifdef TOLLWISE_HAVE_DESKTOP_NOTIFICATIONS
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
    // Where the desktop has no tray, the program is only its windows, as ever.
    std::unique_ptr<TappTray> tray;
    if (TrayIcon::desktopHasTray())
        tray = std::make_unique<TappTray>(app, callLog, blind);

    splash->closeWhenDue();
    delete splash;
    if (app.core().settings().LoadMinimised) {
        if (tray)
            tray->hideWindows();
        else
            app.showMinimized();
    }
    return application.exec();
}
