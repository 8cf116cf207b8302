#include "core/spending/CycleUsage.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

#include <algorithm>

CycleUsage cycleUsageOf(
    const CallLogTable &log, int providerIndex, const BillingCycle &cycle, const CurrentCall &call, const QDate &today)
{
    CycleUsage usage;
    const int count = std::clamp(log.Count, 0, kMaxLogRecords);
    for (int i = 0; i < count; ++i) {
        const CallRecord &record = log.records[i];
        if (!isLoggedCall(record) || record.ProviderIndex != providerIndex)
            continue;
        if (!cycle.contains(dateFromTwoDigitYear(record.StartDay, record.StartMonth, record.StartYear, today)))
            continue;
        ++usage.calls;
        usage.seconds += record.DurationSeconds;
        usage.cost = addMoney(usage.cost, record.Cost);
    }
    if (call.Connected && call.CallProvider == providerIndex && cycle.contains(dateOfValue(call.CallStart))) {
        ++usage.calls;
        usage.seconds += call.CallSeconds;
        usage.cost = addMoney(usage.cost, call.CallCost);
    }
    return usage;
}
