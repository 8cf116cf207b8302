#include "core/pricing/CurrentCostRate.h"

#include "core/pricing/TariffSelection.h"
#include "core/store/DateTimeValue.h"

#include "core/tariffs/TariffTestData.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace tariffdata;

namespace {

const QDateTime kMonday10(QDate(2026, 3, 9), QTime(10, 0));

CurrentCall callStartingAt(const QDateTime &start)
{
    // What the start of a call leaves before the rate is loaded.
    CurrentCall call;
    call.Connected = true;
    call.CallStart = toDateTimeValue(start);
    call.UnitLength = 60;
    call.FirstTick = true;
    return call;
}

} // namespace

TEST(CurrentCostRate, LoadsTheTariffsUnitRateAndStartingCost)
{
    const struct {
        const char *what;
        Tariff tariff;
        std::int32_t unitLength;
        bool incremental;
        MoneyValue callCost; // also the start charge
    } cases[] = {
        { "per minute, 0.10 + 0.25 minimum", rate(1, 1, 1000, 2500), 60, true, 2500 },
        { "per second", rate(2, 1, 100), 0, true, 0 },
        { "pulse of 10 s", rate(3, 1, 500, 0, 10), 10, true, 0 },
        { "pulse of 0 s charges every second", rate(3, 1, 500, 0, 0), 0, true, 0 },
        { "negative pulse charges every second", rate(3, 1, 500, 0, -5), 0, true, 0 },
        { "unknown unit kind charges every second", rate(9, 1, 500), 0, true, 0 },
        { "single 0.50 + 0.25 minimum", rate(1, 2, 5000, 2500), 60, false, 7500 },
        { "unknown charge kind is single", rate(1, 0, 5000), 60, false, 5000 },
        { "huge amounts saturate", rate(1, 2, std::numeric_limits<MoneyValue>::max(), 1), 60, false,
            std::numeric_limits<MoneyValue>::max() },
    };
    auto table = std::make_unique<TariffTable>();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fill(*table, { tariff(0, 1, 1), c.tariff }); // record 0 is out of its window at 10:00
        CurrentCall call = callStartingAt(kMonday10);
        call.UnitPosition = 7;
        SetCurrentCostRate(*table, call, kMonday10.addDays(5));
        EXPECT_EQ(call.CallTariff, 1);
        EXPECT_EQ(call.UnitLength, c.unitLength);
        EXPECT_EQ(call.UnitPosition, 0);
        EXPECT_EQ(call.CurrentRate, c.tariff.UnitCost);
        EXPECT_EQ(call.Incremental, c.incremental);
        EXPECT_EQ(call.CallCost, c.callCost);
        EXPECT_EQ(call.StartCharge, c.callCost);
    }
}

TEST(CurrentCostRate, ACallIsRatedForItsStartAndIdleRatingCostsNothing)
{
    auto table = std::make_unique<TariffTable>();
    fill(*table, { rate(1, 2, 3000, 500), tariff(8 * kHour, 18 * kHour - 1, 1) });
    table->records[1].UnitCost = 1000;

    CurrentCall call = callStartingAt(QDateTime(QDate(2026, 3, 9), QTime(17, 59, 50)));
    SetCurrentCostRate(*table, call, QDateTime(QDate(2026, 3, 9), QTime(18, 5)));
    EXPECT_EQ(call.CallTariff, 1) << "the tariff of 17:59:50, not of now";

    CurrentCall idle;
    SetCurrentCostRate(*table, idle, QDateTime(QDate(2026, 3, 9), QTime(20, 0)));
    EXPECT_EQ(idle.CallTariff, 0);
    EXPECT_FALSE(idle.Incremental);
    EXPECT_EQ(idle.CurrentRate, 3000);
    EXPECT_EQ(idle.CallCost, 0) << "only a call is charged";
    EXPECT_EQ(idle.StartCharge, 500);
}

TEST(CurrentCostRate, NoTariffInForceLeavesTheCallAsItWas)
{
    auto table = std::make_unique<TariffTable>();
    for (const bool empty : { true, false }) {
        fill(*table, {});
        if (!empty)
            fill(*table, { allDay(5, 1999) });
        CurrentCall call = callStartingAt(kMonday10);
        call.CallTariff = 3;
        call.UnitPosition = 4;
        SetCurrentCostRate(*table, call, kMonday10);
        EXPECT_EQ(call.CallTariff, 3);
        EXPECT_EQ(call.UnitLength, 60);
        EXPECT_EQ(call.UnitPosition, 4);
        EXPECT_EQ(call.CallCost, 0);
        EXPECT_FALSE(call.Incremental);
    }
}
