#include "core/connection/RunningCall.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

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
