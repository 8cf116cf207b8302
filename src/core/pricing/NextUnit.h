#pragma once

#include "core/store/CurrentCall.h"

#include <QString>

#include <optional>

// Seconds from now until the tick that charges the running call's next unit
// (1: the very next second charges); none when no further unit will be
// charged by the second: no call, a single charge, a unit every second.
std::optional<int> secondsToNextUnit(const CurrentCall &call);

// "0:23", "1:00"
QString minutesAndSeconds(int seconds);
// "next unit in 0:23"
QString nextUnitText(int seconds);
