#include "platform/PlatformServices.h"

#ifdef _WIN32
#include "platform/windows/RunKeyRegistration.h"
#else
#include "platform/autostart/XdgAutostart.h"
#include "platform/signals/TerminationSignals.h"
#endif

std::unique_ptr<StartupRegistration> createStartupRegistration()
{
#ifdef _WIN32
    return std::make_unique<RunKeyRegistration>();
#else
    return std::make_unique<XdgAutostart>(XdgAutostart::defaultFolder());
#endif
}

ChosenDialUpService createDialUpService(
    const QString &programFolder, DialUpServiceChoice choice, SimEntryEditor simulatorEntryEditor)
{
    return chooseDialUpService(programFolder, choice, std::move(simulatorEntryEditor));
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
