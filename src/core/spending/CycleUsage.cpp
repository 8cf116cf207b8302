#include "core/spending/CycleUsage.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

#include <algorithm>
#include <cstring>

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

CycleUsage CycleUsageCounter::usage(const CallLogTable &log, int providerIndex, const BillingCycle &cycle,
    const CurrentCall &call, const QDate &today, std::span<const CallRecord> archived)
{
    // Comparing the records costs about what reading them once does, far
    // less than dating every call again.
    const int count = std::clamp(log.Count, 0, kMaxLogRecords);
    const auto *records = reinterpret_cast<const char *>(log.records);
    const qsizetype bytes = qsizetype(count) * qsizetype(sizeof(CallRecord));
    const bool sameLog
        = m_counted.size() == bytes && std::memcmp(m_counted.constData(), records, std::size_t(bytes)) == 0;
    if (!sameLog || providerIndex != m_providerIndex || cycle.start != m_cycle.start || cycle.end != m_cycle.end
        || today != m_today || archived.size() != m_archivedCount) {
        m_logged = loggedCycleUsage(log, providerIndex, cycle, today, archived);
        m_archivedCount = archived.size();
        m_counted = QByteArray(records, bytes);
        m_providerIndex = providerIndex;
        m_cycle = cycle;
        m_today = today;
    }
    CycleUsage usage = m_logged;
    addRunningCall(usage, providerIndex, cycle, call);
    return usage;
}
