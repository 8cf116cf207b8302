#pragma once

#include "core/spending/BillingCycle.h"
#include "core/store/CurrentCall.h"
#include "core/store/Records.h"
#include "core/store/Values.h"

#include <cstdint>
#include <optional>
#include <span>

// What a provider has used in a billing cycle.
struct CycleUsage {
    int calls = 0;
    std::uint64_t seconds = 0;
    MoneyValue cost = 0; // 1/10000 of money
};

// The logged calls of the provider at `providerIndex` that began within the
// cycle, plus the running call when it is that provider's and began within
// it. Derived afresh every time, so it never drifts from the log. `today`
// places two-digit years in their century.
// The archived calls (moved out of a full log, oldest first) count as the log's do.
CycleUsage cycleUsageOf(const CallLogTable &log, int providerIndex, const BillingCycle &cycle, const CurrentCall &call,
    const QDate &today, std::span<const CallRecord> archived = {});

// The logged and archived calls alone.
CycleUsage loggedCycleUsage(const CallLogTable &log, int providerIndex, const BillingCycle &cycle, const QDate &today,
    std::span<const CallRecord> archived = {});
// Adds the running call when it is the provider's and began within the cycle.
void addRunningCall(CycleUsage &usage, int providerIndex, const BillingCycle &cycle, const CurrentCall &call);

// cycleUsageOf for a caller asking every second: the log is counted again
// only when `logChanges` (AppCore::logChanges), the provider, the cycle or the
// day differ from the last count; what the running call adds is taken afresh
// each time.
class CycleUsageCounter {
public:
    CycleUsage usage(const CallLogTable &log, std::uint64_t logChanges, int providerIndex, const BillingCycle &cycle,
        const CurrentCall &call, const QDate &today, std::span<const CallRecord> archived = {});

private:
    std::optional<std::uint64_t> m_logChanges; // as last counted; none before the first count
    int m_providerIndex = -1;
    BillingCycle m_cycle;
    QDate m_today;
    CycleUsage m_logged;
};
