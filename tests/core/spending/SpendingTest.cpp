#include "core/pricing/NextUnit.h"
#include "core/spending/BillProjection.h"
#include "core/spending/BudgetCheck.h"
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

    // A week ahead the weekday alone would read as the day just gone.
    Tariff far = allDay(6);
    far.DateFrom = 46097; // Monday 16 March
    far.UnitCost = 100;
    fill(table, { rate(1, 1, 1000), far });
    table.records[1].Name.setText(QStringLiteral("Far"));
    const struct {
        QDateTime now;
        const char *expected;
    } ahead[] = {
        { QDateTime(QDate(2026, 3, 9), QTime(15, 0)), "Far from Mon 16 Mar 00:00: 0.01 p.min" },
        { QDateTime(QDate(2026, 3, 10), QTime(15, 0)), "Far from Mon 00:00: 0.01 p.min" },
    };
    for (const auto &c : ahead) {
        const auto cheaper = nextCheaperStart(table, c.now);
        ASSERT_TRUE(cheaper) << c.now.toString().toStdString();
        EXPECT_EQ(cheaperStartText(table, *cheaper, c.now), QString::fromLatin1(c.expected));
    }
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
    plan.budgets.insert(QStringLiteral("Дом"), { 10000, 0, false, {}, 0 });
    const spendingfile::ReadResult read = spendingfile::parse(spendingfile::serialise(plan));
    EXPECT_TRUE(read.problems.isEmpty()) << read.problems.join(QLatin1Char('|')).toStdString();
    const SpendingPlan &back = read.plan;
    EXPECT_EQ(back.hangUpMarginSeconds, 5);
    ASSERT_EQ(back.budgets.size(), 3);
    EXPECT_EQ(back.budgets.value(QStringLiteral("Дом")).money, 10000) << "a name beyond the code page";
    const ProviderBudget home = back.budgets.value(QStringLiteral("Home=ISP [1]"));
    EXPECT_EQ(home.money, 200000);
    EXPECT_EQ(home.hours, 20);
    EXPECT_TRUE(home.autoHangUp);
    EXPECT_EQ(home.warnedCycle, QDate(2026, 3, 15));
    EXPECT_EQ(home.warnedLevels, 3);
    EXPECT_FALSE(back.budgets.value(QStringLiteral("Other")).hours) << "no hours of its own: the account's limit";

    // Values that are not exactly what the program writes take their defaults.
    const SpendingPlan damaged = spendingfile::parse(
        "[Spending]\nHangUpBeforeUnitSeconds=-4\n[Budget.0]\nMoney=lots\nName=X\nHours=-1\nWarnedLevels=255\n\xff\x00")
                                     .plan;
    EXPECT_EQ(damaged.hangUpMarginSeconds, SpendingPlan::kDefaultHangUpMargin);
    EXPECT_EQ(damaged.budgets.value(QStringLiteral("X")).money, 0);
    EXPECT_FALSE(damaged.budgets.value(QStringLiteral("X")).hours);
    EXPECT_EQ(damaged.budgets.value(QStringLiteral("X")).warnedLevels, 0) << "a warning may come again, never be lost";
}

TEST(SpendingFile, ReadsOnlyExactValuesAndSaysWhatWasWrong)
{
    const QByteArray sound = "[Spending]\r\nHangUpBeforeUnitSeconds=3\r\n[Budget.0]\r\nName=Home\r\nMoney=20000\r\n"
                             "Hours=10\r\nAutoHangUp=1\r\nWarnedCycle=2026-03-01\r\nWarnedLevels=1\r\n";
    const struct {
        const char *what;
        QByteArray bytes;
        bool autoHangUp;
        std::optional<int> hours;
        MoneyValue money;
        const char *problem; // part of the one problem told; empty: none
    } cases[] = {
        { "as written", sound, true, 10, 20000, "" },
        { "a switch is 0 or 1", QByteArray(sound).replace("AutoHangUp=1", "AutoHangUp=7"), false, 10, 20000,
            "AutoHangUp=7 for Home is neither 0 nor 1" },
        { "hours up to the field's most", QByteArray(sound).replace("Hours=10", "Hours=99999999999999"), true, 9999,
            20000, "Hours=99999999999999 for Home is more than 9999: 9999 is used" },
        { "money in digits only", QByteArray(sound).replace("Money=20000", "Money=+2e4"), true, 10, 0,
            "Money=+2e4 for Home is not an amount" },
        { "the first of two budgets", sound + "[Budget.1]\r\nName=Home\r\nMoney=5\r\n", true, 10, 20000,
            "two budgets for Home: the first is used" },
        { "a key given twice", sound + "Money=5\r\n", true, 10, 20000, "Money is given twice for Home" },
        { "a line of noise", QByteArray(sound).insert(12, "\x01\x9d\n"), true, 10, 20000, "Line 2 cannot be read" },
    };
    for (const auto &c : cases) {
        const spendingfile::ReadResult read = spendingfile::parse(c.bytes);
        const ProviderBudget home = read.plan.budgets.value(QStringLiteral("Home"));
        EXPECT_EQ(home.autoHangUp, c.autoHangUp) << c.what;
        EXPECT_EQ(home.hours, c.hours) << c.what;
        EXPECT_EQ(home.money, c.money) << c.what;
        if (*c.problem) {
            ASSERT_EQ(read.problems.size(), 1) << c.what << ": " << read.problems.join(QLatin1Char('|')).toStdString();
            EXPECT_TRUE(read.problems[0].contains(QString::fromUtf8(c.problem))) << read.problems[0].toStdString();
        } else {
            EXPECT_TRUE(read.problems.isEmpty()) << c.what;
        }
    }

    QByteArray noise(4096, '\0');
    for (int i = 0; i < noise.size(); ++i)
        noise[i] = char((i * 7919 + 13) % 251);
    const spendingfile::ReadResult random = spendingfile::parse(noise);
    EXPECT_FALSE(random.problems.isEmpty());
    EXPECT_TRUE(random.plan.budgets.isEmpty());
}

TEST(BudgetAmount, ReadsEitherDecimalMarkWhereItCannotBeThousands)
{
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    const QLocale german(QLocale::German, QLocale::Germany);
    const QLocale french(QLocale::French, QLocale::France);
    const QLocale swiss(QLocale::German, QLocale::Switzerland);
    constexpr std::int64_t kRefused = -1;
    const struct {
        const QLocale &locale;
        const char *text;
        std::int64_t amount; // 1/10000, or kRefused
    } cases[] = {
        { british, "1.50", 15000 },
        { british, "1,50", 15000 },
        { british, "1,5", 15000 },
        { british, "1,500", 15000000 },
        { british, "1,234.56", 12345600 },
        { british, "12,345,678.9", 123456789000 },
        { british, "1.234,56", kRefused },
        { british, "12,34,5", kRefused },
        { british, "1,5,0", kRefused },
        { british, "abc", kRefused },
        { british, "1.2.3", kRefused },
        { british, ".5", 5000 },
        { british, "", 0 },
        { british, "-1", kRefused },
        { british, "999999999.9999", 9'999'999'999'999 },
        { british, "9,999,999,999.9999", 99'999'999'999'999 }, // the largest, written as the field shows it
        { british, "9999999999.99995", kRefused }, // rounds past the largest
        { british, "10,000,000,000", kRefused },
        { german, "1,50", 15000 },
        { german, "1.50", 15000 },
        { german, "1.500", 15000000 },
        { german, "1.234,56", 12345600 },
        { german, "1,234.56", kRefused },
        { french, "1,50", 15000 },
        { french, "1.5", 15000 },
        { french, "1.500", kRefused },
        { french, "1 234,5", 12345000 },
        { swiss, "1,50", 15000 },
        { swiss, "1,500", kRefused },
    };
    for (const auto &c : cases) {
        const auto amount = readBudgetAmount(QString::fromUtf8(c.text), c.locale);
        EXPECT_EQ(amount.value_or(kRefused), c.amount) << c.locale.name().toStdString() << " \"" << c.text << '"';
    }
}
