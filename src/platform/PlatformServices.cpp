#include "PlatformServices.h"

#include "autostart/XdgAutostart.h"

std::unique_ptr<StartupRegistration> createStartupRegistration()
{
    return std::make_unique<XdgAutostart>(XdgAutostart::defaultFolder());
}
