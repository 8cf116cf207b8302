#include "core/reports/DataRepricing.h"

#include "core/reports/CallReport.h"
#include "core/spending/BillingCycle.h"
#include "core/spending/DataAllowance.h"
#include "core/store/DateTimeValue.h"
#include "core/volume/VolumePricing.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <array>

namespace {

// A call longer than this many cycles is not one the log can hold; the
// limit only keeps a damaged record from walking cycles for ever.
constexpr int kMostCycles = 1200;
// More than any change of the clocks moves a day's end.
constexpr std::int64_t kClockShiftMargin = 3 * 3600;

std::int64_t startKey(const CallRecord &record, int century)
{
    return CallStamp { century + record.StartYear, record.StartMonth, record.StartDay, record.StartHour,
        record.StartMinute, record.StartSecond }
        .sortKey();
}

} // namespace

std::vector<DataPrice> repriceData(std::span<const CallRecord> calls, std::span<const CallVolume> volumes,
    const ProviderTable &providers, const VolumePlans &plans, const QDate &today)
{
    std::vector<DataPrice> prices(calls.size());
    std::array<const VolumePlan *, kMaxProviders> planOf {};
    for (int p = 0; p < std::min<int>(providers.Count, kMaxProviders); ++p) {
        const auto found = plans.constFind(providers.records[p].Name.text());
        if (found != plans.constEnd() && !found->none())
            planOf[std::size_t(p)] = &*found;
    }

    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const CallRecord &record = calls[i];
        if (isLoggedCall(record) && record.ProviderIndex < kMaxProviders && planOf[record.ProviderIndex])
            order.push_back(i);
    }
    // The calls before a call in its cycle have used the allowance it starts from.
    const int century = today.year() / 100 * 100;
    std::stable_sort(order.begin(), order.end(),
        [&](std::size_t a, std::size_t b) { return startKey(calls[a], century) < startKey(calls[b], century); });

    // Bytes counted so far in each (provider, first day of cycle).
    QHash<std::pair<int, qint64>, std::int64_t> used;
    for (const std::size_t i : order) {
        const CallRecord &record = calls[i];
        DataPrice &price = prices[i];
        price.planned = true;
        const CallVolume volume = i < volumes.size() ? volumes[i] : CallVolume {};
        if (!volume.known())
            continue;
        price.counted = true;
        const QDate day = dateFromTwoDigitYear(record.StartDay, record.StartMonth, record.StartYear, today);
        if (!day.isValid())
            continue;
        const int provider = record.ProviderIndex;
        const VolumePlan &plan = *planOf[std::size_t(provider)];
        const int startDay = providers.records[provider].MonthStartDay;
        const std::int64_t bytes = countedBytes(plan, volume.bytesIn, volume.bytesOut);
        BillingCycle cycle = billingCycleOn(day, startDay);
        const std::int64_t usedBefore = used.value({ provider, cycle.start.toJulianDay() });

        // Most calls end hours before their cycle does, whatever the clocks
        // did: those are priced whole without asking the time zone.
        const std::int64_t secondsLeft = day.daysTo(cycle.end) * 86400
            - (record.StartHour * 3600 + record.StartMinute * 60 + record.StartSecond)
            - std::int64_t(record.DurationSeconds);
        if (secondsLeft >= kClockShiftMargin) {
            used[{ provider, cycle.start.toJulianDay() }] += bytes;
            price.cost = volumeCost(plan, usedBefore, bytes);
            continue;
        }

        // A call that runs into a new cycle counts there for its share of the seconds, from a fresh allowance.
        const QDateTime end = QDateTime(day, QTime(record.StartHour, record.StartMinute, record.StartSecond))
                                  .addSecs(record.DurationSeconds);
        std::vector<std::int64_t> parts;
        std::int64_t shared = 0;
        for (int n = 0; n < kMostCycles; ++n) {
            const std::int64_t part = bytesWithin(record, bytes, cycle, today);
            used[{ provider, cycle.start.toJulianDay() }] += part;
            parts.push_back(part);
            shared += part;
            if (!end.isValid() || end <= QDateTime(cycle.end, QTime(0, 0)))
                break;
            cycle = billingCycleOn(cycle.end, startDay);
        }
        // Shares rounded down leave a byte or two; the call still pays for every byte it moved.
        parts.back() += bytes - shared;
        price.cost = callVolumeCost(plan, usedBefore, parts);
    }
    return prices;
}
