#include "core/calllog/ProviderTotals.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

#include <algorithm>

namespace {

constexpr int kMonthDays = 31;

void clearCounters(Provider &p)
{
    p.TodaySeconds = 0;
    p.TodayCost = 0;
    p.TodayCalls = 0;
    p.MonthSeconds = 0;
    p.MonthCost = 0;
    p.MonthCalls = 0;
    p.TotalSeconds = 0;
    p.TotalCost = 0;
    p.TotalCalls = 0;
}

} // namespace

namespace {

struct TotalsPass {
    ProviderTable &providers;
    int providerCount;
    QDate today;

    void add(const CallRecord &call)
    {
        if (!isLoggedCall(call) || call.ProviderIndex >= providerCount)
            return;
        Provider &p = providers.records[call.ProviderIndex];
        // Same as comparing the call's date text with today's.
        if (call.StartDay == today.day() && call.StartMonth == today.month() && call.StartYear == today.year() % 100) {
            p.TodayCost = addMoney(p.TodayCost, call.Cost);
            ++p.TodayCalls;
            p.TodaySeconds += call.DurationSeconds;
        }
        const QDate started = dateFromTwoDigitYear(call.StartDay, call.StartMonth, call.StartYear, today);
        if (started.isValid()) {
            const qint64 daysAgo = today.toJulianDay() - started.toJulianDay();
            if (daysAgo >= 0 && daysAgo <= kMonthDays) {
                p.MonthCost = addMoney(p.MonthCost, call.Cost);
                ++p.MonthCalls;
                p.MonthSeconds += call.DurationSeconds;
            }
        }
        p.TotalCost = addMoney(p.TotalCost, call.Cost);
        // The field has 16 bits: past its top it stays there rather than wrap to a few calls.
        if (p.TotalCalls < UINT16_MAX)
            ++p.TotalCalls;
        p.TotalSeconds += call.DurationSeconds;
    }
};

} // namespace

void UpdateProviderTotals(
    ProviderTable &providers, const CallLogTable &log, const QDate &today, std::span<const CallRecord> archived)
{
    const int providerCount = std::min<int>(providers.Count, kMaxProviders);
    const DateTimeValue todayValue = toDateTimeValue(today);
    for (int i = 0; i < providerCount; ++i) {
        clearCounters(providers.records[i]);
        providers.records[i].TodayDate = todayValue;
    }
    TotalsPass pass { providers, providerCount, today };
    for (const CallRecord &call : archived)
        pass.add(call);
    const int logCount = std::clamp<int>(log.Count, 0, kMaxLogRecords);
    for (int i = 0; i < logCount; ++i)
        pass.add(log.records[i]);
}

void restartToday(Provider &provider, const QDate &today)
{
    const DateTimeValue todayValue = toDateTimeValue(today);
    if (provider.TodayDate == todayValue)
        return;
    provider.TodayDate = todayValue;
    provider.TodaySeconds = 0;
    provider.TodayCost = 0;
    provider.TodayCalls = 0;
}

void restartToday(ProviderTable &providers, const QDate &today)
{
    const int providerCount = std::clamp<int>(providers.Count, 0, kMaxProviders);
    for (int i = 0; i < providerCount; ++i)
        restartToday(providers.records[i], today);
}
