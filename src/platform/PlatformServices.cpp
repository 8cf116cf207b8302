#include "PlatformServices.h"

#ifdef _WIN32
#include "windows/RunKeyRegistration.h"
#else
#include "autostart/XdgAutostart.h"
#endif

std::unique_ptr<StartupRegistration> createStartupRegistration()
{
#ifdef _WIN32
    return std::make_unique<RunKeyRegistration>();
#else
    return std::make_unique<XdgAutostart>(XdgAutostart::defaultFolder());
#endif
}
