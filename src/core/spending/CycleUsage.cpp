#include "core/spending/CycleUsage.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

#include <algorithm>

CycleUsage loggedCycleUsage(const CallLogTable &log, int providerIndex, const BillingCycle &cycle, const QDate &today,
    std::span<const CallRecord> archived)
{
    CycleUsage usage;
    const auto add = [&](const CallRecord &record) {
        if (!isLoggedCall(record) || record.ProviderIndex != providerIndex)
            return;
        if (!cycle.contains(dateFromTwoDigitYear(record.StartDay, record.StartMonth, record.StartYear, today)))
            return;
        ++usage.calls;
        usage.seconds += record.DurationSeconds;
        usage.cost = addMoney(usage.cost, record.Cost);
    };
    // A cycle may reach back past the oldest calls the log still holds.
    for (const CallRecord &record : archived)
        add(record);
    const int count = std::clamp(log.Count, 0, kMaxLogRecords);
    for (int i = 0; i < count; ++i)
        add(log.records[i]);
    return usage;
}

void addRunningCall(CycleUsage &usage, int providerIndex, const BillingCycle &cycle, const CurrentCall &call)
{
    if (call.Connected && call.CallProvider == providerIndex && cycle.contains(dateOfValue(call.CallStart))) {
        ++usage.calls;
        usage.seconds += call.CallSeconds;
        usage.cost = addMoney(usage.cost, call.CallCost);
    }
}

CycleUsage cycleUsageOf(const CallLogTable &log, int providerIndex, const BillingCycle &cycle, const CurrentCall &call,
    const QDate &today, std::span<const CallRecord> archived)
{
    CycleUsage usage = loggedCycleUsage(log, providerIndex, cycle, today, archived);
    addRunningCall(usage, providerIndex, cycle, call);
    return usage;
}

CycleUsage CycleUsageCounter::usage(const CallLogTable &log, std::uint64_t logChanges, int providerIndex,
    const BillingCycle &cycle, const CurrentCall &call, const QDate &today, std::span<const CallRecord> archived)
{
    // Dating every call of a full log again each second is most of an idle second's work.
    if (logChanges != m_logChanges || providerIndex != m_providerIndex || cycle.start != m_cycle.start
        || cycle.end != m_cycle.end || today != m_today) {
        m_logged = loggedCycleUsage(log, providerIndex, cycle, today, archived);
        m_logChanges = logChanges;
        m_providerIndex = providerIndex;
        m_cycle = cycle;
        m_today = today;
    }
    CycleUsage usage = m_logged;
    addRunningCall(usage, providerIndex, cycle, call);
    return usage;
}
