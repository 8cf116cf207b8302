#include "core/pricing/NextUnit.h"

#include <algorithm>

std::optional<int> secondsToNextUnit(const CurrentCall &call)
{
    if (!call.Connected || !call.Incremental || call.UnitLength < 2 || call.FirstTick)
        return std::nullopt;
    // A unit is charged on the tick that finds UnitPosition at 0.
    const int position = std::clamp(call.UnitPosition, 0, call.UnitLength - 1);
    return (call.UnitLength - position) % call.UnitLength + 1;
}

QString minutesAndSeconds(int seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString nextUnitText(int seconds) { return QStringLiteral("next unit in ") + minutesAndSeconds(seconds); }
