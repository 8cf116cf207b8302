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

// Today's date parts and day number are worked out once, not per call:
// a refill reads every call of a full log.
struct TotalsPass {
    ProviderTable &providers;
    int providerCount;
    int todayDay;
    int todayMonth;
    int todayTwoDigitYear;
    int century; // of today: where two-digit years are read
    std::int64_t todayNumber;

    TotalsPass(ProviderTable &table, int count, const QDate &today)
        : providers(table)
        , providerCount(count)
        , todayDay(today.day())
        , todayMonth(today.month())
        , todayTwoDigitYear(today.year() % 100)
        , century(today.year() / 100 * 100)
        , todayNumber(civilDayNumber(today.year(), today.month(), today.day()).value_or(0))
    {
    }

    void add(const CallRecord &call)
    {
        if (isLoggedCall(call))
            addLogged(call);
    }

    void addLogged(const CallRecord &call)
    {
        if (call.ProviderIndex >= providerCount)
            return;
        Provider &p = providers.records[call.ProviderIndex];
        // Same as comparing the call's date text with today's.
        if (call.StartDay == todayDay && call.StartMonth == todayMonth && call.StartYear == todayTwoDigitYear) {
            p.TodayCost = addMoney(p.TodayCost, call.Cost);
            ++p.TodayCalls;
            p.TodaySeconds += call.DurationSeconds;
        }
        if (const std::optional<std::int64_t> started
            = civilDayNumber(century + call.StartYear, call.StartMonth, call.StartDay)) {
            const std::int64_t daysAgo = todayNumber - *started;
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

// Clears the counters and counts the archive; the log's calls are the caller's.
TotalsPass startTotals(ProviderTable &providers, const QDate &today, std::span<const CallRecord> archived)
{
    const int providerCount = std::min<int>(providers.Count, kMaxProviders);
    const DateTimeValue todayValue = toDateTimeValue(today);
    for (int i = 0; i < providerCount; ++i) {
        clearCounters(providers.records[i]);
        providers.records[i].TodayDate = todayValue;
    }
    TotalsPass pass(providers, providerCount, today);
    for (const CallRecord &call : archived)
        pass.add(call);
    return pass;
}

} // namespace

void UpdateProviderTotals(
    ProviderTable &providers, const CallLogTable &log, const QDate &today, std::span<const CallRecord> archived)
{
    TotalsPass pass = startTotals(providers, today, archived);
    const int logCount = std::clamp<int>(log.Count, 0, kMaxLogRecords);
    for (int i = 0; i < logCount; ++i)
        pass.add(log.records[i]);
}

void UpdateProviderTotals(ProviderTable &providers, const CallLogTable &log, const QList<int> &loggedCalls,
    const QDate &today, std::span<const CallRecord> archived)
{
    TotalsPass pass = startTotals(providers, today, archived);
    for (const int i : loggedCalls)
        pass.addLogged(log.records[i]);
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
