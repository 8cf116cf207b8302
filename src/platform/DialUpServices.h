#pragma once

#include "core/services/DialUpService.h"
#include "core/store/DialUpServiceChoice.h"
#include "platform/simdialup/SimEntry.h"

#include <QString>

#include <memory>

struct ChosenDialUpService {
    std::unique_ptr<dialup::DialUpService> service;
    QString name; // shown to the user, in the settings dialog
};

// The dial-up backend of this platform. `programFolder` holds the program
// file; a backend that keeps files of its own (the simulated service's
// phonebook and connections) keeps them there. `choice` matters only where
// there is more than one service to choose from. `simulatorEntryEditor` is
// how the simulated service asks for a phonebook entry; a program without
// windows has none.
ChosenDialUpService chooseDialUpService(
    const QString &programFolder, DialUpServiceChoice choice, SimEntryEditor simulatorEntryEditor);
// The choice stored in the settings file of `programFolder`.
DialUpServiceChoice storedDialUpServiceChoice(const QString &programFolder);
