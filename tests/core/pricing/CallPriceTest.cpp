#include "core/pricing/CallPrice.h"

#include "core/store/DateTimeValue.h"
#include "core/tariffs/TariffTestData.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tariffdata;

// Re-pricing a report prices every call from its logged date and time; those
// figures must be the ones the live call would have charged.
TEST(CallPrice, PricedFromCalendarPartsAsFromTheMoment)
{
    const QDate friday(2026, 3, 6);
    Tariff evening = tariff(18 * kHour, 24 * kHour - 1, 1);
    evening.UnitKind = 1;
    evening.ChargeKind = 1;
    evening.UnitCost = 1000;
    Tariff sixth = allDay(3, 6); // the 6th of every month
    sixth.UnitKind = 1;
    sixth.ChargeKind = 1;
    sixth.UnitCost = 400;
    // From 10:00 on the Friday to the Saturday's first instant.
    Tariff offer = era(toDateTimeValue(QDateTime(friday, QTime(10, 0))), toDateTimeValue(friday.addDays(1)));
    offer.UnitKind = 2;
    offer.ChargeKind = 1;
    offer.UnitCost = 10;

    const struct {
        const char *what;
        std::initializer_list<Tariff> tariffs;
        QTime start;
        std::uint32_t seconds;
        int index;
        MoneyValue cost;
    } cases[] = {
        { "per minute 1.00 + 0.50 minimum, 61 s", { rate(1, 1, 10000, 5000) }, QTime(9, 0), 61, 0, 25000 },
        { "evening from its first second", { rate(1, 1, 100), evening }, QTime(18, 0), 90, 1, 2000 },
        { "a second before the evening", { rate(1, 1, 100), evening }, QTime(17, 59, 59), 90, 0, 200 },
        { "the 6th of the month", { rate(1, 1, 100), sixth }, QTime(12, 0), 60, 1, 400 },
        { "before the offer begins", { rate(1, 1, 100), offer }, QTime(9, 59, 59), 30, 0, 100 },
        { "within the offer, per second", { rate(1, 1, 100), offer }, QTime(10, 0), 30, 1, 300 },
        { "no tariff in force", { evening }, QTime(8, 0), 600, kNoTariff, 0 },
    };
    auto table = std::make_unique<TariffTable>();
    for (const auto &c : cases) {
        fill(*table, c.tariffs);
        const CallPrice fromParts = priceCall(*table, tariffMomentOf(friday, c.start), c.seconds);
        EXPECT_EQ(fromParts.tariffIndex, c.index) << c.what;
        EXPECT_EQ(fromParts.cost, c.cost) << c.what;
        const CallPrice fromMoment = priceCall(*table, QDateTime(friday, c.start), c.seconds);
        EXPECT_EQ(fromMoment.tariffIndex, c.index) << c.what;
        EXPECT_EQ(fromMoment.cost, c.cost) << c.what;
    }
}
