#pragma once

#include "core/spending/BillingCycle.h"
#include "core/store/CurrentCall.h"
#include "core/store/Records.h"
#include "core/store/Values.h"

#include <cstdint>

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
CycleUsage cycleUsageOf(
    const CallLogTable &log, int providerIndex, const BillingCycle &cycle, const CurrentCall &call, const QDate &today);
