#include "core/connection/RunningCall.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/tariffs/CurrentCostRate.h"

#include <algorithm>

int beginCallCost(CurrentCall &call, const TariffTable &tariffs, const QDateTime &start)
{
    call.CurrentRate = 0;
    call.CallStart = toDateTimeValue(start);
    call.CallTariff = 0;
    call.CallCost = 0;
    call.UnitLength = 60;
    call.UnitPosition = 0;
    call.Incremental = false;
    call.FirstTick = true;
    call.StartCharge = 0;
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

void advanceCallOneSecond(CurrentCall &call, Provider &provider, DateTimeValue today)
{
    const bool unitBegins = chargeCallSeconds(call, 1) > 0;
    MoneyValue booked = 0;
    if (unitBegins)
        booked = call.FirstTick ? addMoney(call.CurrentRate, call.StartCharge) : call.CurrentRate;

    if (provider.TodayDate == today) {
        ++provider.TodaySeconds;
        provider.TodayCost = addMoney(provider.TodayCost, booked);
    } else {
        // The call has run into a new day: today's counters start afresh,
        // and the call counts for the day it began on, as the log does.
        provider.TodayDate = today;
        provider.TodayCalls = 0;
        provider.TodaySeconds = 1;
        provider.TodayCost = call.FirstTick ? call.StartCharge : 0;
        if (unitBegins)
            provider.TodayCost = addMoney(provider.TodayCost, call.CurrentRate);
    }
    ++provider.MonthSeconds;
    provider.MonthCost = addMoney(provider.MonthCost, booked);
    ++provider.TotalSeconds;
    provider.TotalCost = addMoney(provider.TotalCost, booked);
    call.FirstTick = false;
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
