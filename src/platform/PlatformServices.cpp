#include "PlatformServices.h"

#include "autostart/XdgAutostart.h"
#include "simdialup/SimDialUpService.h"

std::unique_ptr<StartupRegistration> createStartupRegistration()
{
    return std::make_unique<XdgAutostart>(XdgAutostart::defaultFolder());
}

std::unique_ptr<dialup::DialUpService> createDialUpService(const QString &programFolder)
{
    return std::make_unique<SimDialUpService>(programFolder);
}
