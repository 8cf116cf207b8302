#pragma once

#include "core/services/StartupRegistration.h"
#include "platform/DialUpServices.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The backends of this platform.
std::unique_ptr<StartupRegistration> createStartupRegistration();
// The dial-up service, as chooseDialUpService picks it. The simulated service
// asks for its phonebook entries with `simulatorEntryEditor` (a window of the
// program's); without one it cannot add or change an entry.
ChosenDialUpService createDialUpService(
    const QString &programFolder, DialUpServiceChoice choice, SimEntryEditor simulatorEntryEditor = {});

// Calls `terminate` on the user-interface thread when the system asks the
// program to end by a signal (SIGTERM, SIGHUP, SIGINT). The returned object
// keeps the watch; empty where the platform has no such signals.
std::unique_ptr<QObject> watchTerminationSignals(std::function<void()> terminate);
