#pragma once

#include "core/store/CallVolume.h"
#include "core/store/Records.h"
#include "core/store/VolumePlan.h"

#include <QDate>

#include <span>
#include <vector>

// What a call's data costs when priced again under its provider's plan.
struct DataPrice {
    bool planned = false; // its provider has a data plan
    bool counted = false; // its bytes are known, so the plan could price them
    MoneyValue cost = 0; // 1/10000 of money; 0 when not counted
};

// Each call's data priced as the live call prices it: call after call through
// each provider's billing cycles (from the provider's month start day), the
// allowance and the blocks begun shared by every call of a cycle, so that the
// calls of a cycle add up to its bill. Calls of unknown volume use none of the
// allowance and cost nothing. `volumes` goes call for call with `calls`;
// `today` places the two-digit years.
std::vector<DataPrice> repriceData(std::span<const CallRecord> calls, std::span<const CallVolume> volumes,
    const ProviderTable &providers, const VolumePlans &plans, const QDate &today);
