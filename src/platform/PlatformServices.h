#pragma once

#include "core/services/DialUpService.h"
#include "core/services/StartupRegistration.h"
#include "core/store/DialUpServiceChoice.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

struct ChosenDialUpService {
    std::unique_ptr<dialup::DialUpService> service;
    QString name; // shown to the user, in the settings dialog
};

// The backends of this platform.
std::unique_ptr<StartupRegistration> createStartupRegistration();
// `programFolder` holds the program file; a backend that keeps files of its
// own (the simulated service's phonebook and connections) keeps them there.
// `choice` matters only where there is more than one service to choose from.
ChosenDialUpService createDialUpService(const QString &programFolder, DialUpServiceChoice choice);
// The choice stored in the settings file of `programFolder`.
DialUpServiceChoice storedDialUpServiceChoice(const QString &programFolder);

// Calls `terminate` on the user-interface thread when the system asks the
// program to end by a signal (SIGTERM, SIGHUP, SIGINT). The returned object
// keeps the watch; empty where the platform has no such signals.
std::unique_ptr<QObject> watchTerminationSignals(std::function<void()> terminate);
