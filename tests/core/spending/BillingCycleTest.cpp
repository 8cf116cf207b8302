#include "core/spending/BillingCycle.h"

#include <gtest/gtest.h>

TEST(BillingCycle, StartsOnTheProvidersDayOrTheLastDayOfAShorterMonth)
{
    const struct {
        QDate day;
        int startDay;
        QDate start;
        QDate end;
    } cases[] = {
        { QDate(2026, 2, 28), 31, QDate(2026, 2, 28), QDate(2026, 3, 31) }, // day 31 in February
        { QDate(2026, 2, 27), 31, QDate(2026, 1, 31), QDate(2026, 2, 28) },
        { QDate(2026, 4, 30), 31, QDate(2026, 4, 30), QDate(2026, 5, 31) }, // day 31 in April
        { QDate(2026, 4, 29), 31, QDate(2026, 3, 31), QDate(2026, 4, 30) },
        { QDate(2026, 4, 15), 15, QDate(2026, 4, 15), QDate(2026, 5, 15) }, // starts today
        { QDate(2026, 4, 14), 15, QDate(2026, 3, 15), QDate(2026, 4, 15) },
        { QDate(2028, 2, 29), 30, QDate(2028, 2, 29), QDate(2028, 3, 30) }, // leap year
        { QDate(2028, 2, 28), 29, QDate(2028, 1, 29), QDate(2028, 2, 29) },
        { QDate(2027, 2, 28), 29, QDate(2027, 2, 28), QDate(2027, 3, 29) },
        { QDate(2027, 1, 5), 20, QDate(2026, 12, 20), QDate(2027, 1, 20) }, // across the new year
        { QDate(2026, 3, 10), 0, QDate(2026, 3, 1), QDate(2026, 4, 1) }, // never set: the 1st
        { QDate(2026, 3, 10), 200, QDate(2026, 3, 1), QDate(2026, 4, 1) },
    };
    for (const auto &c : cases) {
        const BillingCycle cycle = billingCycleOn(c.day, c.startDay);
        EXPECT_EQ(cycle.start, c.start) << c.day.toString(Qt::ISODate).toStdString() << " day " << c.startDay;
        EXPECT_EQ(cycle.end, c.end) << c.day.toString(Qt::ISODate).toStdString() << " day " << c.startDay;
        EXPECT_TRUE(cycle.contains(c.day));
    }
}
