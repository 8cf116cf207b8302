#pragma once

#include <QString>

// Which dial-up service the program talks to, where there is a choice; key
// "DialUpService" of settings.data. Auto: NetworkManager when it answers on
// the system bus, else the simulator.
enum class DialUpServiceChoice { Auto, NetworkManager, Simulator };

// The choice as the settings file holds it; unknown text reads as Auto.
QString dialUpServiceText(DialUpServiceChoice choice);
DialUpServiceChoice parseDialUpService(const QString &text);
// The choice stored in the settings file at `settingsPath`; Auto when the
// file or the key is missing.
DialUpServiceChoice readDialUpServiceChoice(const QString &settingsPath);
