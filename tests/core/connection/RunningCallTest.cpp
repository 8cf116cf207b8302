#include "core/connection/RunningCall.h"

#include "core/pricing/CurrentCostRate.h"
#include "core/store/DateTimeValue.h"
#include "core/store/TableBlanks.h"

#include "core/tariffs/TariffTestData.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>

using namespace tariffdata;

namespace {

const QDateTime kStart(QDate(2026, 3, 2), QTime(10, 0));

// A call begun at `start` under the table, rated as the start of a call rates it.
CurrentCall beginCall(const TariffTable &table, const QDateTime &start)
{
    CurrentCall call;
    call.Connected = true;
    call.CallStart = toDateTimeValue(start);
    call.UnitLength = 60;
    call.FirstTick = true;
    SetCurrentCostRate(table, call, start);
    return call;
}

Provider blankProvider()
{
    auto table = std::make_unique<ProviderTable>();
    blankProviderTable(*table);
    return table->records[0];
}

} // namespace

TEST(RunningCall, AUnitIsChargedAtItsStart)
{
    const struct {
        const char *what;
        std::optional<Tariff> tariff;
        std::map<int, MoneyValue> costAfterSecond;
    } cases[] = {
        { "per minute 1.00 + 0.50 minimum", rate(1, 1, 10000, 5000),
            { { 1, 15000 }, { 60, 15000 }, { 61, 25000 }, { 120, 25000 }, { 121, 35000 } } },
        { "per minute 0.10 + 0.25 minimum", rate(1, 1, 1000, 2500), { { 60, 3500 }, { 61, 4500 } } },
        { "per second 0.01", rate(2, 1, 100), { { 1, 100 }, { 2, 200 }, { 10, 1000 } } },
        { "pulse of 1 s", rate(3, 1, 500, 0, 1), { { 1, 500 }, { 2, 1000 }, { 3, 1500 } } },
        { "pulse of 10 s", rate(3, 1, 2000, 0, 10),
            { { 1, 2000 }, { 10, 2000 }, { 11, 4000 }, { 20, 4000 }, { 21, 6000 } } },
        { "single 3.00", rate(1, 2, 30000), { { 1, 30000 }, { 500, 30000 } } },
        { "single 0.50 + 0.25 minimum", rate(1, 2, 5000, 2500), { { 1, 7500 }, { 100, 7500 } } },
        { "no tariff", std::nullopt, { { 1, 0 }, { 61, 0 } } },
    };
    auto table = std::make_unique<TariffTable>();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fill(*table, {});
        if (c.tariff)
            fill(*table, { *c.tariff });
        CurrentCall call = beginCall(*table, kStart);
        Provider provider = blankProvider();
        const int last = c.costAfterSecond.rbegin()->first;
        for (int second = 1; second <= last; ++second) {
            advanceCallOneSecond(call, provider, toDateTimeValue(kStart.date()));
            const auto expected = c.costAfterSecond.find(second);
            if (expected != c.costAfterSecond.end()) {
                EXPECT_EQ(call.CallCost, expected->second) << "after second " << second;
            }
        }
        EXPECT_EQ(call.CallSeconds, std::uint32_t(last));
        EXPECT_FALSE(call.FirstTick);
    }
}

TEST(RunningCall, TheProviderIsChargedWhatTheCallIsCharged)
{
    auto table = std::make_unique<TariffTable>();
    const DateTimeValue today = toDateTimeValue(kStart.date());
    const struct {
        const char *what;
        Tariff tariff;
        MoneyValue booked; // over 61 seconds
    } cases[] = {
        { "incremental", rate(1, 1, 10000, 5000), 25000 },
        { "single: settled from the log when the call ends", rate(1, 2, 30000, 5000), 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fill(*table, { c.tariff });
        CurrentCall call = beginCall(*table, kStart);
        Provider provider = blankProvider();
        provider.TodayDate = today;
        provider.TodaySeconds = 100;
        provider.TodayCost = 70000;
        provider.MonthSeconds = 1000;
        provider.MonthCost = 80000;
        provider.TotalSeconds = 5000;
        provider.TotalCost = 90000;
        for (int second = 0; second < 61; ++second)
            advanceCallOneSecond(call, provider, today);
        EXPECT_EQ(provider.TodaySeconds, 161u);
        EXPECT_EQ(provider.TodayCost, 70000 + c.booked);
        EXPECT_EQ(provider.MonthSeconds, 1061u);
        EXPECT_EQ(provider.MonthCost, 80000 + c.booked);
        EXPECT_EQ(provider.TotalSeconds, 5061u);
        EXPECT_EQ(provider.TotalCost, 90000 + c.booked);
    }
}

TEST(RunningCall, TodaysCountersRestartAtMidnight)
{
    // Per minute 1.00 + 0.50 minimum, begun 30 s or 60 s before midnight.
    auto table = std::make_unique<TariffTable>();
    fill(*table, { rate(1, 1, 10000, 5000) });
    const QDate day(2026, 3, 2);
    const struct {
        int secondsBeforeMidnight;
        MoneyValue todayCostAtMidnight; // the new day's first second
        MoneyValue todayCostAfter61;
    } cases[] = {
        { 30, 0, 10000 }, // the second unit begins on the new day's 31st second
        { 60, 10000, 10000 }, // the second unit begins on the new day's first second
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.secondsBeforeMidnight);
        const QDateTime start(day, QTime(0, 0).addSecs(-c.secondsBeforeMidnight));
        CurrentCall call = beginCall(*table, start);
        Provider provider = blankProvider();
        provider.TodayDate = toDateTimeValue(day);
        provider.TodayCost = 40000;
        provider.MonthCost = 40000;
        for (int second = 1; second <= 61; ++second) {
            const QDateTime now = start.addSecs(second - 1);
            advanceCallOneSecond(call, provider, toDateTimeValue(now.date()));
            if (second == c.secondsBeforeMidnight + 1) {
                EXPECT_EQ(provider.TodayDate, toDateTimeValue(day.addDays(1)));
                EXPECT_EQ(provider.TodaySeconds, 1u);
                EXPECT_EQ(provider.TodayCost, c.todayCostAtMidnight);
            }
        }
        EXPECT_EQ(provider.TodaySeconds, std::uint32_t(61 - c.secondsBeforeMidnight));
        EXPECT_EQ(provider.TodayCost, c.todayCostAfter61);
        EXPECT_EQ(provider.MonthCost, 40000 + 25000) << "the month runs on";
        EXPECT_EQ(call.CallCost, 25000);
    }
}

TEST(RunningCall, AFirstSecondOnANewDayStartsTodayWithTheStartCharge)
{
    auto table = std::make_unique<TariffTable>();
    fill(*table, { rate(1, 2, 30000, 5000) });
    CurrentCall call = beginCall(*table, kStart);
    Provider provider = blankProvider();
    provider.TodayDate = toDateTimeValue(kStart.date().addDays(-1));
    provider.TodayCost = 12345;
    advanceCallOneSecond(call, provider, toDateTimeValue(kStart.date()));
    EXPECT_EQ(provider.TodayCost, 35000);
    EXPECT_EQ(provider.TodaySeconds, 1u);
}

TEST(RunningCall, PriceCallChargesAsALiveCallFromItsStart)
{
    const QDateTime friday(QDate(2026, 3, 6), QTime(10, 0));
    const QDateTime saturday(QDate(2026, 3, 7), QTime(10, 0));
    const QDateTime lateFriday(QDate(2026, 3, 6), QTime(23, 59, 30));
    Tariff weekend = rate(1, 1, 500);
    weekend.AppliesTo = 2;
    weekend.AppliesValue = 32 | 64; // Saturday and Sunday
    Tariff evening = tariff(18 * kHour, 24 * kHour - 1, 1);
    evening.UnitCost = 1000;
    Tariff night = tariff(0, 8 * kHour - 1, 1);
    night.UnitCost = 200;

    const struct {
        const char *what;
        std::initializer_list<Tariff> tariffs;
        QDateTime start;
        std::uint32_t seconds;
        int index;
        MoneyValue cost;
    } cases[] = {
        { "per minute 1.00 + 0.50 minimum, 61 s", { rate(1, 1, 10000, 5000) }, friday, 61, 0, 25000 },
        { "minimum charge alone for no seconds", { rate(1, 1, 10000, 5000) }, friday, 0, 0, 5000 },
        { "per second 0.01, 125 s", { rate(2, 1, 100) }, friday, 125, 0, 12500 },
        { "pulses of 10 s at 0.20, 25 s", { rate(3, 1, 2000, 0, 10) }, friday, 25, 0, 6000 },
        { "single 3.00 + 0.25 minimum", { rate(1, 2, 30000, 2500) }, friday, 500, 0, 32500 },
        { "evening rate runs on past midnight", { evening, night }, lateFriday, 120, 0, 2000 },
        { "weekday under the every-day rate", { rate(1, 1, 1000), weekend }, friday, 180, 0, 3000 },
        { "weekend rate on Saturday", { rate(1, 1, 1000), weekend }, saturday, 180, 1, 1500 },
        { "later record wins", { rate(1, 1, 1000), rate(1, 1, 300) }, friday, 60, 1, 300 },
        { "no tariff in force", { night }, friday, 600, kNoTariff, 0 },
    };
    auto table = std::make_unique<TariffTable>();
    for (const auto &c : cases) {
        fill(*table, c.tariffs);
        const CallPrice price = priceCall(*table, c.start, c.seconds);
        EXPECT_EQ(price.tariffIndex, c.index) << c.what;
        EXPECT_EQ(price.cost, c.cost) << c.what;
    }
}
