#include "core/pricing/CallPrice.h"

#include "core/pricing/CurrentCostRate.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

#include <algorithm>

namespace {

void resetCallCost(CurrentCall &call, DateTimeValue start)
{
    call.CurrentRate = 0;
    call.CallStart = start;
    call.CallTariff = 0;
    call.CallCost = 0;
    call.UnitLength = 60;
    call.UnitPosition = 0;
    call.Incremental = false;
    call.FirstTick = true;
    call.StartCharge = 0;
}

} // namespace

int beginCallCost(CurrentCall &call, const TariffTable &tariffs, const QDateTime &start)
{
    resetCallCost(call, toDateTimeValue(start));
    return SetCurrentCostRate(tariffs, call, start);
}

std::uint32_t chargeCallSeconds(CurrentCall &call, std::uint32_t seconds)
{
    call.CallSeconds += seconds;
    // A length of 0 or 1 charges every second; a position past the unit's
    // end wraps to 0 after one more second, as the last second of a unit does.
    const std::int64_t length = std::max<std::int32_t>(call.UnitLength, 1);
    const std::int64_t position = std::clamp<std::int64_t>(call.UnitPosition, 0, length - 1);
    std::int64_t units = 0;
    if (call.Incremental) {
        const std::int64_t first = (length - position) % length; // seconds before the next unit begins
        if (first < std::int64_t(seconds))
            units = (std::int64_t(seconds) - 1 - first) / length + 1;
    }
    if (units > 0)
        call.CallCost = addMoney(call.CallCost, scaleMoney(call.CurrentRate, units, 1));
    call.UnitPosition = std::int32_t((position + seconds) % length);
    return std::uint32_t(units);
}

CallPrice priceCall(const TariffTable &tariffs, const TariffMoment &start, std::uint32_t seconds)
{
    CurrentCall call;
    call.Connected = true;
    resetCallCost(call, start.value);
    CallPrice price;
    price.tariffIndex = tariffs.Count == 0 ? kNoTariff : SelectTariffAt(tariffs, start);
    if (price.tariffIndex != kNoTariff)
        loadTariffRate(tariffs, price.tariffIndex, call);
    chargeCallSeconds(call, seconds);
    price.cost = call.CallCost;
    return price;
}

CallPrice priceCall(const TariffTable &tariffs, const QDateTime &start, std::uint32_t seconds)
{
    CurrentCall call;
    call.Connected = true;
    CallPrice price;
    price.tariffIndex = beginCallCost(call, tariffs, start);
    chargeCallSeconds(call, seconds);
    price.cost = call.CallCost;
    return price;
}
