#pragma once

#include "core/store/CurrentCall.h"
#include "core/store/Records.h"
#include "core/store/SpendingPlan.h"
#include "core/store/Tariff.h"

#include <QString>

#include <functional>
#include <span>

class AppCore;

// What the spending watch reads (the tables, the running call, the money
// text), the plan whose warnings it marks as given, and what it asks of the
// owner of the files. The references stay valid as long as their owner lives.
struct SpendingParts {
    const ProviderTable &providers;
    const CallLogTable &log;
    const TariffTable &tariffs;
    const CurrentCall &call;
    SpendingPlan &plan;
    const QString &currencyText;
    // Calls moved out of the log; a billing month counts them too.
    std::function<std::span<const CallRecord>()> archivedCalls;
    std::function<void()> saveSpending;
    std::function<void()> playWarningSound;
};

// The spending watch's parts of `core`.
[[nodiscard]] SpendingParts spendingParts(AppCore &core);
