#include "core/pricing/NextUnit.h"
#include "core/spending/BillProjection.h"
#include "core/spending/CheaperHour.h"
#include "core/store/SpendingFile.h"

#include "core/connection/RunningCall.h"
#include "core/pricing/CurrentCostRate.h"
#include "core/tariffs/TariffTestData.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cstring>

using namespace tariffdata;

TEST(NextUnit, CountsDownToTheTickThatChargesTheNextUnit)
{
    const struct {
        const char *what;
        Tariff tariff;
        std::uint32_t seconds;
        std::optional<int> left;
    } cases[] = {
        { "per minute, first second", rate(1, 1, 1000), 1, 60 },
        { "per minute, three before", rate(1, 1, 1000), 58, 3 },
        { "per minute, last second paid", rate(1, 1, 1000), 60, 1 },
        { "per minute, second unit begun", rate(1, 1, 1000), 61, 60 },
        { "pulse of 10", rate(3, 1, 1000, 0, 10), 9, 2 },
        { "pulse of 10, next pulse begun", rate(3, 1, 1000, 0, 10), 11, 10 },
        { "per second", rate(2, 1, 100), 5, std::nullopt },
        { "pulse of 1", rate(3, 1, 100, 0, 1), 5, std::nullopt },
        { "single charge", rate(1, 2, 30000), 5, std::nullopt },
    };
    for (const auto &c : cases) {
        TariffTable table;
        fill(table, { c.tariff });
        CurrentCall call;
        call.Connected = true;
        call.FirstTick = true;
        call.UnitLength = 60;
        SetCurrentCostRate(table, call, QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
        Provider provider;
        std::memset(&provider, 0, sizeof provider);
        for (std::uint32_t s = 0; s < c.seconds; ++s)
            advanceCallOneSecond(call, provider, 46083);
        EXPECT_EQ(secondsToNextUnit(call), c.left) << c.what;
    }
    EXPECT_EQ(nextUnitText(23), QStringLiteral("next unit in 0:23"));
    EXPECT_EQ(nextUnitText(60), QStringLiteral("next unit in 1:00"));
}

TEST(CheaperHour, FindsTheNextCheaperStartAcrossMidnightAndIntoTheWeekend)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    TariffTable table;
    fill(table,
        { tariff(8 * kHour, 18 * kHour - 1, 1), tariff(18 * kHour, 24 * kHour - 1, 1), tariff(0, 8 * kHour - 1, 1),
            allDay(2, 32 | 64) });
    const char *names[] = { "Day", "Evening", "Night", "Weekend" };
    const std::int64_t perMinute[] = { 1000, 500, 500, 200 };
    for (int i = 0; i < 4; ++i) {
        table.records[i].Name.setText(QString::fromLatin1(names[i]));
        table.records[i].UnitCost = perMinute[i];
    }
    const struct {
        QDateTime now;
        const char *expected; // empty: nothing cheaper within a week
    } cases[] = {
        { QDateTime(QDate(2026, 3, 2), QTime(10, 0)), "Evening from 18:00: 0.05 p.min" },
        { QDateTime(QDate(2026, 3, 2), QTime(20, 0)), "Weekend from Sat 00:00: 0.02 p.min" },
        { QDateTime(QDate(2026, 3, 6), QTime(23, 30)), "Weekend from Sat 00:00: 0.02 p.min" },
        { QDateTime(QDate(2026, 3, 7), QTime(12, 0)), "" },
        { QDateTime(QDate(2026, 3, 8), QTime(23, 59, 59)), "" },
    };
    for (const auto &c : cases) {
        const auto cheaper = nextCheaperStart(table, c.now);
        const QString text = cheaper ? cheaperStartText(table, *cheaper, c.now) : QString();
        EXPECT_EQ(text, QString::fromLatin1(c.expected)) << c.now.toString().toStdString();
    }

    // A cheaper date more than a week ahead is not looked for.
    Tariff holiday = allDay(6);
    holiday.DateFrom = 46097; // Monday 16 March
    holiday.UnitCost = 100;
    table.records[table.Count++] = holiday;
    EXPECT_FALSE(nextCheaperStart(table, QDateTime(QDate(2026, 3, 7), QTime(12, 0))));
    EXPECT_TRUE(nextCheaperStart(table, QDateTime(QDate(2026, 3, 15), QTime(12, 0))));
    QLocale::setDefault(QLocale::c());
}

TEST(BillProjection, AddsFeeAndExtraHoursAndProjectsAtTheCyclesPace)
{
    Provider provider;
    std::memset(&provider, 0, sizeof provider);
    provider.MonthlyFee = 50000;
    provider.MonthlyHourLimit = 10;
    provider.ExtraPerHour = 10000;
    const BillingCycle cycle { QDate(2026, 4, 1), QDate(2026, 5, 1) };
    const CycleUsage usage { 4, 12 * 3600 + 3599, 30000 };

    const BillProjection bill = projectBill(provider, cycle, usage, QDate(2026, 4, 10));
    EXPECT_EQ(bill.calls, 30000);
    EXPECT_EQ(bill.fee, 50000);
    EXPECT_EQ(bill.extraHours, 20000) << "12 whole hours, 2 beyond the limit";
    EXPECT_EQ(bill.total, 100000);
    // Ten days of thirty: calls 9.00, 38 h 59 min 57 s is 28 extra hours.
    EXPECT_EQ(bill.projected, 90000 + 50000 + 280000);
}

TEST(SpendingFile, KeepsBudgetsForAnyNameAndSurvivesDamage)
{
    SpendingPlan plan;
    plan.hangUpMarginSeconds = 5;
    plan.budgets.insert(QStringLiteral("Home=ISP [1]"), { 200000, 20, true, QDate(2026, 3, 15), 3 });
    plan.budgets.insert(QStringLiteral("Other"), { 0, std::nullopt, false, {}, 0 });
    const SpendingPlan back = spendingfile::parse(spendingfile::serialise(plan));
    EXPECT_EQ(back.hangUpMarginSeconds, 5);
    ASSERT_EQ(back.budgets.size(), 2);
    const ProviderBudget home = back.budgets.value(QStringLiteral("Home=ISP [1]"));
    EXPECT_EQ(home.money, 200000);
    EXPECT_EQ(home.hours, 20);
    EXPECT_TRUE(home.autoHangUp);
    EXPECT_EQ(home.warnedCycle, QDate(2026, 3, 15));
    EXPECT_EQ(home.warnedLevels, 3);
    EXPECT_FALSE(back.budgets.value(QStringLiteral("Other")).hours) << "no hours of its own: the account's limit";

    const SpendingPlan damaged = spendingfile::parse(
        "[Spending]\nHangUpBeforeUnitSeconds=-4\n[Budget.0]\nMoney=lots\nName=X\nHours=-1\nWarnedLevels=255\n\xff\x00");
    EXPECT_EQ(damaged.hangUpMarginSeconds, 1);
    EXPECT_EQ(damaged.budgets.value(QStringLiteral("X")).money, 0);
    EXPECT_FALSE(damaged.budgets.value(QStringLiteral("X")).hours);
    EXPECT_EQ(damaged.budgets.value(QStringLiteral("X")).warnedLevels, 7);
}
