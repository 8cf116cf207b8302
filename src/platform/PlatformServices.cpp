#include "PlatformServices.h"

#ifdef _WIN32
#include "windows/RasDialUpService.h"
#include "windows/RunKeyRegistration.h"

#include <QCoreApplication>
#include <QMetaObject>
#else
#include "autostart/XdgAutostart.h"
#include "signals/TerminationSignals.h"
#include "simdialup/SimDialUpService.h"
#endif

std::unique_ptr<StartupRegistration> createStartupRegistration()
{
#ifdef _WIN32
    return std::make_unique<RunKeyRegistration>();
#else
    return std::make_unique<XdgAutostart>(XdgAutostart::defaultFolder());
#endif
}

std::unique_ptr<dialup::DialUpService> createDialUpService([[maybe_unused]] const QString &programFolder)
{
#ifdef _WIN32
    // The service reports progress from its own threads; the program handles it on the UI thread.
    return std::make_unique<RasDialUpService>([](std::function<void()> task) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
    });
#else
    return std::make_unique<SimDialUpService>(programFolder);
#endif
}

std::unique_ptr<QObject> watchTerminationSignals([[maybe_unused]] std::function<void()> terminate)
{
#ifdef _WIN32
    return {};
#else
    auto watch = std::make_unique<TerminationSignals>(std::move(terminate));
    if (!watch->active())
        return {};
    return watch;
#endif
}
