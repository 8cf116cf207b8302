#include "platform/DialUpServices.h"

#include "core/store/SettingsFile.h"

#include <QDir>

#ifdef _WIN32
#include "platform/windows/RasDialUpService.h"

#include <QCoreApplication>
#include <QMetaObject>
#else
#include "platform/simdialup/SimDialUpService.h"
#endif

#ifdef TOLLWISE_HAVE_NETWORKMANAGER
#include "platform/networkmanager/NmDialUpService.h"

#include <QDBusConnection>
#endif

DialUpServiceChoice storedDialUpServiceChoice(const QString &programFolder)
{
    return readDialUpServiceChoice(QDir(programFolder).filePath(SettingsFile::kFileName));
}

ChosenDialUpService chooseDialUpService([[maybe_unused]] const QString &programFolder,
    [[maybe_unused]] DialUpServiceChoice choice, [[maybe_unused]] SimEntryEditor simulatorEntryEditor)
{
#ifdef _WIN32
    // The service reports progress from its own threads; the program handles it on the UI thread.
    return { std::make_unique<RasDialUpService>([](std::function<void()> task) {
                QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
            }),
        QStringLiteral("Windows dial-up networking") };
#else
#ifdef TOLLWISE_HAVE_NETWORKMANAGER
    // Short waits, once, at start-up: a missing or silent NetworkManager must
    // not keep the program from opening.
    constexpr int kProbeMs = 1000;
    constexpr int kFirstAnswersMs = 2000;
    if (choice != DialUpServiceChoice::Simulator) {
        const QDBusConnection bus = QDBusConnection::systemBus();
        if (choice == DialUpServiceChoice::NetworkManager || NmDialUpService::answersOn(bus, kProbeMs)) {
            auto service = std::make_unique<NmDialUpService>(bus);
            service->waitUntilReady(kFirstAnswersMs);
            return { std::move(service), QStringLiteral("NetworkManager") };
        }
    }
#endif
    SimDialUpService::Options options;
    options.editor = std::move(simulatorEntryEditor);
    return { std::make_unique<SimDialUpService>(programFolder, std::move(options)), QStringLiteral("Simulator") };
#endif
}
