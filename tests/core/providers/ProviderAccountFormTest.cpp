#include "core/providers/ProviderAccountForm.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

const QDate kToday(2026, 3, 2);
const QLocale kLocale = QLocale::c(); // ',' groups, '.' decimals

Provider sampleProvider()
{
    Provider p {};
    p.Name.setText(QStringLiteral("Home ISP"));
    p.TodaySeconds = 3661;
    p.TodayCost = 12345; // 1.2345: more precise than the two decimals shown
    p.TodayCalls = 3;
    p.MonthSeconds = 40000;
    p.MonthCost = 123456789; // 12,345.6789
    p.MonthCalls = 40;
    p.TotalSeconds = 10000 * 3600; // more hours than four digits hold
    p.TotalCost = 5;
    p.TotalCalls = 65100; // above what may be typed, reached by counting calls
    p.MonthlyFee = 100000;
    p.MonthStartDay = 0; // as a new record holds it
    p.MonthlyHourLimit = 10;
    p.ExtraPerHour = 20000;
    p.StartedOn = 0; // never set
    p.ChargesTodate = 777;
    return p;
}

bool sameBytes(const Provider &a, const Provider &b) { return std::memcmp(&a, &b, sizeof(Provider)) == 0; }

} // namespace

TEST(ProviderAccountForm, TextsOfARecord)
{
    const AccountForm form = accountFormOf(sampleProvider(), kLocale);
    EXPECT_EQ(form.todayDuration, QStringLiteral("0001:01:01"));
    EXPECT_EQ(form.totalDuration, QStringLiteral("10000:00:00"));
    Provider counted = sampleProvider();
    counted.TotalSeconds = 3'000'000'000; // past the signed 32-bit range, reached by counting
    EXPECT_EQ(accountFormOf(counted, kLocale).totalDuration, QStringLiteral("833333:20:00"));
    EXPECT_EQ(form.todayCost, QStringLiteral("1.23"));
    EXPECT_EQ(form.monthCost, QStringLiteral("12,345.68"));
    EXPECT_EQ(form.totalCalls, QStringLiteral("65100"));
    EXPECT_EQ(form.startedOn, QString()) << "a start date never set is shown empty";
    EXPECT_EQ(form.monthlyFee, QStringLiteral("10.00"));
    EXPECT_EQ(form.monthlyHourLimit, 10);
}

TEST(ProviderAccountForm, SavingUnchangedKeepsEveryValueExactly)
{
    const Provider stored = sampleProvider();
    const auto saved
        = readAccountForm(accountFormOf(stored, kLocale), accountFormOf(stored, kLocale), stored, kToday, kLocale);
    ASSERT_TRUE(saved.has_value());
    EXPECT_TRUE(sameBytes(*saved, stored));
    EXPECT_EQ(saved->StartedOn, 0.0) << "never set stays never set";
}

TEST(ProviderAccountForm, EditedFieldsReachTheRecord)
{
    struct Case {
        const char *what;
        std::function<void(AccountForm &)> edit;
        std::function<double(const Provider &)> field;
        double expected;
    };
    const Case cases[] = {
        { "today duration", [](AccountForm &f) { f.todayDuration = QStringLiteral("0002:30:15"); },
            [](const Provider &p) { return double(p.TodaySeconds); }, 9015 },
        { "two hour digits", [](AccountForm &f) { f.monthDuration = QStringLiteral("12:00:00"); },
            [](const Provider &p) { return double(p.MonthSeconds); }, 43200 },
        { "five hour digits", [](AccountForm &f) { f.totalDuration = QStringLiteral("10001:00:01"); },
            [](const Provider &p) { return double(p.TotalSeconds); }, 36003601 },
        { "longest duration", [](AccountForm &f) { f.totalDuration = QStringLiteral("1193046:28:15"); },
            [](const Provider &p) { return double(p.TotalSeconds); }, 4294967295.0 },
        { "today cost", [](AccountForm &f) { f.todayCost = QStringLiteral("1.24"); },
            [](const Provider &p) { return double(p.TodayCost); }, 12400 },
        { "grouped cost", [](AccountForm &f) { f.monthCost = QStringLiteral("12,345.675"); },
            [](const Provider &p) { return double(p.MonthCost); }, 123456750 },
        { "calls with blanks", [](AccountForm &f) { f.todayCalls = QStringLiteral(" 7 "); },
            [](const Provider &p) { return double(p.TodayCalls); }, 7 },
        { "most calls", [](AccountForm &f) { f.totalCalls = QStringLiteral("65000"); },
            [](const Provider &p) { return double(p.TotalCalls); }, 65000 },
        { "start date", [](AccountForm &f) { f.startedOn = QStringLiteral("16/01/26"); },
            [](const Provider &p) { return p.StartedOn; }, 46038 },
        { "two-digit year in today's century", [](AccountForm &f) { f.startedOn = QStringLiteral("01/02/99"); },
            [](const Provider &p) { return p.StartedOn; }, 72717 },
        { "four-digit year", [](AccountForm &f) { f.startedOn = QStringLiteral("16/01/1999"); },
            [](const Provider &p) { return p.StartedOn; }, 36176 },
        { "monthly fee", [](AccountForm &f) { f.monthlyFee = QStringLiteral("10"); },
            [](const Provider &p) { return double(p.MonthlyFee); }, 100000 },
        { "month start day", [](AccountForm &f) { f.monthStartDay = 15; },
            [](const Provider &p) { return double(p.MonthStartDay); }, 15 },
        { "hour limit", [](AccountForm &f) { f.monthlyHourLimit = 65534; },
            [](const Provider &p) { return double(p.MonthlyHourLimit); }, 65534 },
        { "extra per hour", [](AccountForm &f) { f.extraPerHour = QStringLiteral("2.5"); },
            [](const Provider &p) { return double(p.ExtraPerHour); }, 25000 },
    };
    const Provider stored = sampleProvider();
    for (const Case &c : cases) {
        AccountForm form = accountFormOf(stored, kLocale);
        c.edit(form);
        const auto saved = readAccountForm(form, accountFormOf(stored, kLocale), stored, kToday, kLocale);
        ASSERT_TRUE(saved.has_value()) << c.what;
        EXPECT_EQ(c.field(*saved), c.expected) << c.what;
        EXPECT_EQ(saved->TotalCost, stored.TotalCost) << c.what << ": other fields untouched";
    }
}

TEST(ProviderAccountForm, ClearingTheStartDateUnsetsIt)
{
    Provider stored = sampleProvider();
    stored.StartedOn = 46038;
    for (const QString &blank : { QString(), QStringLiteral("  /  /  "), QStringLiteral("//") }) {
        AccountForm form = accountFormOf(stored, kLocale);
        EXPECT_EQ(form.startedOn, QStringLiteral("16/01/26"));
        form.startedOn = blank;
        const auto saved = readAccountForm(form, accountFormOf(stored, kLocale), stored, kToday, kLocale);
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->StartedOn, 0.0);
    }
}

TEST(ProviderAccountForm, AWrongFieldIsNamedWithItsProblem)
{
    struct Case {
        std::function<void(AccountForm &)> edit;
        AccountField field;
        FieldProblem problem;
        QString text;
    };
    using F = AccountField;
    using P = FieldProblem;
    const Case cases[] = {
        { [](AccountForm &f) { f.todayDuration = QStringLiteral("0001:60:00"); }, F::TodayDuration, P::NotADuration,
            QStringLiteral("0001:60:00") },
        { [](AccountForm &f) { f.monthDuration = QStringLiteral("1:2"); }, F::MonthDuration, P::NotADuration,
            QStringLiteral("1:2") },
        { [](AccountForm &f) { f.monthDuration = QStringLiteral("-001:00:00"); }, F::MonthDuration, P::NotADuration,
            QStringLiteral("-001:00:00") },
        { [](AccountForm &f) { f.totalDuration = QStringLiteral("1193046:28:16"); }, F::TotalDuration,
            P::DurationTooLong, QStringLiteral("1193046:28:16") },
        { [](AccountForm &f) { f.totalDuration = QStringLiteral("99999999999999999999:00:00"); }, F::TotalDuration,
            P::DurationTooLong, QStringLiteral("99999999999999999999:00:00") },
        { [](AccountForm &f) { f.todayCost = QStringLiteral("1.2.3"); }, F::TodayCost, P::NotAnAmount,
            QStringLiteral("1.2.3") },
        { [](AccountForm &f) { f.monthCost = QString(); }, F::MonthCost, P::NotAnAmount, QString() },
        { [](AccountForm &f) { f.totalCost = QStringLiteral("-5.00"); }, F::TotalCost, P::NegativeAmount,
            QStringLiteral("-5.00") },
        { [](AccountForm &f) { f.monthlyFee = QStringLiteral("999999999999999"); }, F::MonthlyFee, P::AmountTooLarge,
            QStringLiteral("999999999999999") },
        { [](AccountForm &f) { f.extraPerHour = QStringLiteral("two"); }, F::ExtraPerHour, P::NotAnAmount,
            QStringLiteral("two") },
        { [](AccountForm &f) { f.todayCalls = QStringLiteral("12a"); }, F::TodayCalls, P::NotAWholeNumber,
            QStringLiteral("12a") },
        { [](AccountForm &f) { f.monthCalls = QStringLiteral("-1"); }, F::MonthCalls, P::NotAWholeNumber,
            QStringLiteral("-1") },
        { [](AccountForm &f) { f.totalCalls = QStringLiteral("65001"); }, F::TotalCalls, P::OutOfRange,
            QStringLiteral("65001") },
        { [](AccountForm &f) { f.startedOn = QStringLiteral("31/02/26"); }, F::StartedOn, P::NotADate,
            QStringLiteral("31/02/26") },
        { [](AccountForm &f) { f.startedOn = QStringLiteral("soon"); }, F::StartedOn, P::NotADate,
            QStringLiteral("soon") },
        { [](AccountForm &f) { f.monthStartDay = 32; }, F::MonthStartDay, P::OutOfRange, QStringLiteral("32") },
        { [](AccountForm &f) { f.monthlyHourLimit = 65535; }, F::MonthlyHourLimit, P::OutOfRange,
            QStringLiteral("65535") },
        { [](AccountForm &f) {
             f.extraPerHour = QStringLiteral("x");
             f.todayCalls = QStringLiteral("y");
         },
            F::TodayCalls, P::NotAWholeNumber, QStringLiteral("y") }, // the first one shown is named
    };
    const Provider stored = sampleProvider();
    for (const Case &c : cases) {
        AccountForm form = accountFormOf(stored, kLocale);
        c.edit(form);
        const auto saved = readAccountForm(form, accountFormOf(stored, kLocale), stored, kToday, kLocale);
        ASSERT_FALSE(saved.has_value()) << c.text.toStdString();
        EXPECT_EQ(saved.error().field, c.field) << c.text.toStdString();
        EXPECT_EQ(saved.error().problem, c.problem) << c.text.toStdString();
        EXPECT_EQ(saved.error().text, c.text);
    }
}

TEST(ProviderAccountForm, TermsNeedOnlyTheirOwnFields)
{
    const Provider stored = sampleProvider();
    AccountForm form = accountFormOf(stored, kLocale);
    form.todayDuration = QStringLiteral("being typed");
    form.startedOn = QStringLiteral("16/01/26");
    form.monthlyFee = QStringLiteral("20.00");
    const auto terms = readAccountTerms(form, accountFormOf(stored, kLocale), stored, kToday, kLocale);
    ASSERT_TRUE(terms.has_value());
    EXPECT_EQ(terms->startedOn, QDate(2026, 1, 16));
    EXPECT_EQ(terms->monthlyFee, 200000);
    EXPECT_EQ(terms->monthlyHourLimit, 10);
    EXPECT_EQ(terms->extraPerHour, 20000);

    form.extraPerHour = QStringLiteral("2..0");
    const auto wrong = readAccountTerms(form, accountFormOf(stored, kLocale), stored, kToday, kLocale);
    ASSERT_FALSE(wrong.has_value());
    EXPECT_EQ(wrong.error().field, AccountField::ExtraPerHour);
}
