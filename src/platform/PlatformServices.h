#pragma once

#include "services/StartupRegistration.h"

#include <memory>

// The backends of this platform, chosen when the program is built.
std::unique_ptr<StartupRegistration> createStartupRegistration();
