#pragma once

#include "core/services/Clock.h"
#include "core/spending/BillingCycle.h"
#include "core/spending/SpendingParts.h"
#include "core/store/CallVolume.h"
#include "core/store/VolumePlan.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <span>
#include <vector>

// "820 KB", "412.5 MB", "1.25 GB": decimal units, as data plans are sold.
QString dataAmountText(std::int64_t bytes);

// The bytes the plan counted in the cycle from the provider's logged and
// archived calls with a known volume. A call that ran from one cycle into
// the next counts in each for the share of its seconds spent there.
// `volumes` goes slot for slot with `log`, `archivedVolumes` with `archived`.
std::int64_t loggedCycleBytes(const VolumePlan &plan, int providerIndex, const BillingCycle &cycle, const QDate &today,
    const CallLogTable &log, std::span<const CallVolume> volumes, std::span<const CallRecord> archived = {},
    std::span<const CallVolume> archivedVolumes = {});

// The share of a logged call's bytes that fell in the cycle, by its seconds there.
std::int64_t bytesWithin(const CallRecord &record, std::int64_t bytes, const BillingCycle &cycle, const QDate &today);

// Prices the running call's data under its provider's plan as the bytes come
// in, and books what it adds to the call's cost and the provider's counters,
// so that the running cost, the logged cost and the totals hold both time
// and data. A new cycle during the call starts a fresh allowance.
class RunningDataCharge {
public:
    // `spending` must outlive the charge.
    RunningDataCharge(const SpendingParts &spending, Clock &clock);

    // The monitor's volume hook: the call's volume has just been read.
    void onVolume(CurrentCall &call);

    // The running call's bytes the plan counts in the cycle of `today`; 0
    // for another provider's cycle or while idle.
    std::int64_t runningBytesIn(int providerIndex, const BillingCycle &cycle) const;
    // What the running call's data has cost so far; 1/10000 of money.
    MoneyValue charged() const { return m_charged; }

private:
    void beginCall(const CurrentCall &call, const VolumePlan &plan, const QDate &today);

    const SpendingParts &m_spending;
    Clock &m_clock;
    DateTimeValue m_callStart = -1; // the call the fields below belong to
    int m_provider = -1;
    BillingCycle m_cycle; // the cycle the call's latest bytes fall in
    std::int64_t m_usedBefore = 0; // counted in the call's first cycle before it began
    std::vector<std::int64_t> m_parts; // the call's counted bytes in each cycle it reached
    MoneyValue m_charged = 0;
};
