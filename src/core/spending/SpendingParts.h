#pragma once

#include "core/store/CallVolume.h"
#include "core/store/CurrentCall.h"
#include "core/store/Records.h"
#include "core/store/SpendingPlan.h"
#include "core/store/Tariff.h"
#include "core/store/VolumePlan.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <span>

class AppCore;

// What the spending watch reads (the tables, the running call, the money
// text), the plans whose warnings it marks as given, and what it asks of the
// owner of the files. The references stay valid as long as their owner lives.
struct SpendingParts {
    ProviderTable &providers; // a running call's data cost is booked to its provider
    const CallLogTable &log;
    const TariffTable &tariffs;
    const CurrentCall &call;
    SpendingPlan &plan;
    VolumePlans &volumePlans;
    const CallVolumeTable &volumes;
    const QString &currencyText;
    // Calls moved out of the log and their volumes; a billing month counts them too.
    std::function<std::span<const CallRecord>()> archivedCalls;
    std::function<std::span<const CallVolume>()> archivedVolumes;
    // Moves whenever the log or the archive changed, so counts are redone only then.
    std::function<std::uint64_t()> logChanges;
    std::function<void()> saveSpending;
    std::function<void()> saveVolumePlans;
    std::function<void()> playWarningSound;
};

// The spending watch's parts of `core`.
[[nodiscard]] SpendingParts spendingParts(AppCore &core);
