#pragma once

#include "services/DialUpService.h"
#include "services/StartupRegistration.h"

#include <QString>

#include <memory>

// The backends of this platform, chosen when the program is built.
std::unique_ptr<StartupRegistration> createStartupRegistration();
// `programFolder` holds the program file; a backend that keeps files of its
// own (the simulated service's phonebook and connections) keeps them there.
std::unique_ptr<dialup::DialUpService> createDialUpService(const QString &programFolder);
