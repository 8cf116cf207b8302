#pragma once

#include "services/DialUpService.h"
#include "services/StartupRegistration.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The backends of this platform, chosen when the program is built.
std::unique_ptr<StartupRegistration> createStartupRegistration();
// `programFolder` holds the program file; a backend that keeps files of its
// own (the simulated service's phonebook and connections) keeps them there.
std::unique_ptr<dialup::DialUpService> createDialUpService(const QString &programFolder);

// Calls `terminate` on the user-interface thread when the system asks the
// program to end by a signal (SIGTERM, SIGHUP, SIGINT). The returned object
// keeps the watch; empty where the platform has no such signals.
std::unique_ptr<QObject> watchTerminationSignals(std::function<void()> terminate);
