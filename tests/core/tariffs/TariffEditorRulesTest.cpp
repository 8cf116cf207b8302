#include "core/tariffs/TariffEditorRules.h"

#include "core/store/DateTimeValue.h"
#include "core/store/TableBlanks.h"

#include "core/tariffs/TariffTestData.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

constexpr std::int32_t at(int h, int m, int s) { return h * 3600 + m * 60 + s; }

TariffEdit editFor(AppliesKind kind, std::int32_t start, std::int32_t finish)
{
    TariffEdit edit;
    edit.name = QStringLiteral("New");
    edit.unitCost = QStringLiteral("0.10");
    edit.minCharge = QStringLiteral("0.00");
    edit.appliesTo = kind;
    edit.startTime = start;
    edit.finishTime = finish;
    return edit;
}

Tariff recordFor(AppliesKind kind, std::int32_t start, std::int32_t finish)
{
    return tariffdata::tariff(start, finish, std::uint8_t(kind));
}

} // namespace

TEST(TariffEditorRules, ChecksRunInOrderAndStopAtTheFirstFailure)
{
    struct Case {
        const char *what;
        void (*change)(TariffEdit &);
        std::optional<TariffEditProblem> expected;
    };
    const Case cases[] = {
        { "a sound edit", [](TariffEdit &) {}, std::nullopt },
        { "empty name", [](TariffEdit &e) { e.name.clear(); }, TariffEditProblem::EmptyName },
        { "name of blanks", [](TariffEdit &e) { e.name = QStringLiteral("   "); }, std::nullopt },
        { "empty name wins over bad times",
            [](TariffEdit &e) {
                e.name.clear();
                e.finishTime = e.startTime;
            },
            TariffEditProblem::EmptyName },
        { "start equals finish",
            [](TariffEdit &e) {
                e.startTime = at(8, 0, 0);
                e.finishTime = at(8, 0, 0);
            },
            TariffEditProblem::StartNotBeforeFinish },
        { "one second window",
            [](TariffEdit &e) {
                e.startTime = at(8, 0, 0);
                e.finishTime = at(8, 0, 1);
            },
            std::nullopt },
        { "start after finish",
            [](TariffEdit &e) {
                e.startTime = at(10, 0, 0);
                e.finishTime = at(9, 0, 0);
            },
            TariffEditProblem::StartNotBeforeFinish },
        { "era of one day",
            [](TariffEdit &e) {
                e.appliesTo = AppliesKind::Era;
                e.dateFrom = e.dateTo = QDate(2026, 5, 1);
            },
            TariffEditProblem::EraNotOrdered },
        { "same era dates with another kind",
            [](TariffEdit &e) {
                e.appliesTo = AppliesKind::Date;
                e.date = e.dateFrom = e.dateTo = QDate(2026, 5, 1);
            },
            std::nullopt },
        { "era backwards",
            [](TariffEdit &e) {
                e.appliesTo = AppliesKind::Era;
                e.dateFrom = QDate(2026, 5, 2);
                e.dateTo = QDate(2026, 5, 1);
            },
            TariffEditProblem::EraNotOrdered },
        { "era of two days",
            [](TariffEdit &e) {
                e.appliesTo = AppliesKind::Era;
                e.dateFrom = QDate(2026, 5, 1);
                e.dateTo = QDate(2026, 5, 2);
            },
            std::nullopt },
        { "cost is a word", [](TariffEdit &e) { e.unitCost = QStringLiteral("ten"); },
            TariffEditProblem::UnitCostNotAmount },
        { "cost left empty", [](TariffEdit &e) { e.unitCost.clear(); }, TariffEditProblem::UnitCostNotAmount },
        { "minimum with two points", [](TariffEdit &e) { e.minCharge = QStringLiteral("1.2.3"); },
            TariffEditProblem::MinChargeNotAmount },
        { "cost typed below nothing", [](TariffEdit &e) { e.unitCost = QStringLiteral("-0.01"); },
            TariffEditProblem::UnitCostNegative },
        { "a damaged negative minimum left untouched",
            [](TariffEdit &e) {
                e.minChargeLoaded = -50000;
                e.minCharge = QStringLiteral("-5.00");
            },
            std::nullopt },
        { "bad times before bad money",
            [](TariffEdit &e) {
                e.finishTime = e.startTime;
                e.unitCost = QStringLiteral("x");
            },
            TariffEditProblem::StartNotBeforeFinish },
    };
    for (const Case &c : cases) {
        TariffEdit edit = editFor(AppliesKind::EveryDay, at(8, 0, 0), at(17, 59, 59));
        c.change(edit);
        EXPECT_EQ(checkTariffEdit(edit, QLocale::c()), c.expected) << c.what;
    }
}

TEST(TariffEditorRules, MoneyFieldsTakeTheLocaleDecimalSeparator)
{
    TariffEdit edit = editFor(AppliesKind::EveryDay, 0, 100);
    edit.unitCost = QStringLiteral("1.234,5");
    edit.minCharge = QStringLiteral("0,25");
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(checkTariffEdit(edit, german), std::nullopt);
    Tariff record;
    ASSERT_TRUE(storeTariffEdit(record, edit, 1u, german));
    EXPECT_EQ(record.UnitCost, 12345000);
    EXPECT_EQ(record.MinCharge, 2500);
}

TEST(TariffEditorRules, ClashNeedsASharedSecondAndTheSameDays)
{
    struct Case {
        const char *what;
        Tariff existing;
        TariffEdit edit;
        bool clashes;
    };
    auto daysRecord = [](std::uint32_t set) {
        Tariff r = recordFor(AppliesKind::DaysOfWeek, at(0, 0, 0), at(23, 59, 59));
        r.AppliesValue = set;
        return r;
    };
    auto daysEdit = [](std::uint32_t set) {
        TariffEdit e = editFor(AppliesKind::DaysOfWeek, at(10, 0, 0), at(12, 0, 0));
        e.daySet = set;
        return e;
    };
    auto valueRecord = [](AppliesKind kind, std::uint32_t value) {
        Tariff r = recordFor(kind, at(8, 0, 0), at(18, 0, 0));
        r.AppliesValue = value;
        return r;
    };
    auto valueEdit = [](AppliesKind kind, std::uint32_t value) {
        TariffEdit e = editFor(kind, at(9, 0, 0), at(10, 0, 0));
        e.dayOfMonth = e.month = e.year = value;
        return e;
    };
    auto eraRecord = [](QDate from, QDate to) {
        Tariff r = recordFor(AppliesKind::Era, at(0, 0, 0), at(23, 59, 59));
        r.DateFrom = toDateTimeValue(from);
        r.DateTo = toDateTimeValue(to);
        return r;
    };
    auto eraEdit = [](QDate from, QDate to) {
        TariffEdit e = editFor(AppliesKind::Era, at(12, 0, 0), at(13, 0, 0));
        e.dateFrom = from;
        e.dateTo = to;
        return e;
    };
    auto dateRecord = [](QDate date) {
        Tariff r = recordFor(AppliesKind::Date, at(0, 0, 0), at(23, 59, 59));
        r.DateFrom = toDateTimeValue(date);
        return r;
    };
    auto dateEdit = [](QDate date) {
        TariffEdit e = editFor(AppliesKind::Date, at(0, 0, 0), at(1, 0, 0));
        e.date = date;
        return e;
    };
    const Tariff dayRate = recordFor(AppliesKind::EveryDay, at(8, 0, 0), at(17, 59, 59));
    const QDate march1(2026, 3, 1), march5(2026, 3, 5), march10(2026, 3, 10), march11(2026, 3, 11),
        march20(2026, 3, 20);
    const Case cases[] = {
        { "share the last second", dayRate, editFor(AppliesKind::EveryDay, at(17, 59, 59), at(20, 0, 0)), true },
        { "start right after", dayRate, editFor(AppliesKind::EveryDay, at(18, 0, 0), at(20, 0, 0)), false },
        { "cover it entirely", dayRate, editFor(AppliesKind::EveryDay, at(7, 0, 0), at(19, 0, 0)), true },
        { "end right before", dayRate, editFor(AppliesKind::EveryDay, at(0, 0, 0), at(7, 59, 59)), false },
        { "inside it", dayRate, editFor(AppliesKind::EveryDay, at(9, 0, 0), at(10, 0, 0)), true },
        { "other kind, same window", dayRate, editFor(AppliesKind::Month, at(8, 0, 0), at(17, 59, 59)), false },
        { "Sunday against the weekend", daysRecord(96), daysEdit(64), false },
        { "the weekend again", daysRecord(96), daysEdit(96), true },
        { "same day of month", valueRecord(AppliesKind::DayOfMonth, 15), valueEdit(AppliesKind::DayOfMonth, 15), true },
        { "other day of month", valueRecord(AppliesKind::DayOfMonth, 15), valueEdit(AppliesKind::DayOfMonth, 16),
            false },
        { "same month", valueRecord(AppliesKind::Month, 12), valueEdit(AppliesKind::Month, 12), true },
        { "other month", valueRecord(AppliesKind::Month, 12), valueEdit(AppliesKind::Month, 11), false },
        { "same year", valueRecord(AppliesKind::Year, 2026), valueEdit(AppliesKind::Year, 2026), true },
        { "other year", valueRecord(AppliesKind::Year, 2026), valueEdit(AppliesKind::Year, 2027), false },
        { "same date", dateRecord(QDate(2026, 12, 25)), dateEdit(QDate(2026, 12, 25)), true },
        { "next date", dateRecord(QDate(2026, 12, 25)), dateEdit(QDate(2026, 12, 26)), false },
        { "eras overlapping", eraRecord(march1, march10), eraEdit(march5, march20), true },
        { "era after it", eraRecord(march1, march10), eraEdit(march11, march20), false },
        { "eras sharing the end date", eraRecord(march1, march10), eraEdit(march10, march20), true },
        { "era enclosing it", eraRecord(march5, march10), eraEdit(march1, march20), true },
        { "overlapping era, windows apart",
            [&] {
                Tariff r = eraRecord(march1, march10);
                r.FinishTime = at(11, 59, 59);
                return r;
            }(),
            eraEdit(march5, march20), false },
    };
    for (const Case &c : cases) {
        auto table = std::make_unique<TariffTable>();
        blankTariffTable(*table);
        table->records[0] = c.existing;
        table->Count = 1;
        EXPECT_EQ(findTariffClash(*table, c.edit, std::nullopt).has_value(), c.clashes) << c.what;
    }
}

TEST(TariffEditorRules, ClashNamesTheLastCompetitorAndSkipsTheEditedOne)
{
    auto table = std::make_unique<TariffTable>();
    blankTariffTable(*table);
    table->records[0] = recordFor(AppliesKind::EveryDay, at(8, 0, 0), at(12, 0, 0));
    table->records[1] = recordFor(AppliesKind::Month, at(8, 0, 0), at(12, 0, 0));
    table->records[2] = recordFor(AppliesKind::EveryDay, at(10, 0, 0), at(14, 0, 0));
    table->records[3] = recordFor(AppliesKind::EveryDay, at(8, 0, 0), at(14, 0, 0)); // not in use
    table->Count = 3;
    const TariffEdit edit = editFor(AppliesKind::EveryDay, at(10, 0, 0), at(14, 0, 0));

    EXPECT_EQ(findTariffClash(*table, edit, std::nullopt), 2);
    EXPECT_EQ(findTariffClash(*table, edit, 2), 0) << "saving record 2 unchanged still meets record 0";
    EXPECT_EQ(findTariffClash(*table, editFor(AppliesKind::EveryDay, at(13, 0, 0), at(14, 0, 0)), 2), std::nullopt)
        << "a tariff does not clash with itself, nor with a slot out of use";
}

TEST(TariffEditorRules, StoringANewTariffStartsCleanAndEditingKeepsWhatTheKindDoesNotUse)
{
    Tariff record;
    std::memset(&record, 0xAB, sizeof record);
    TariffEdit edit = editFor(AppliesKind::DaysOfWeek, at(18, 0, 0), at(23, 59, 59));
    edit.name = QStringLiteral("Evening");
    edit.unitKind = 3;
    edit.secondsPerPulse = 120;
    edit.chargeKind = 2;
    edit.unitCost = QStringLiteral("0.30");
    edit.minCharge = QStringLiteral("0.05");
    edit.colour = 0x008000;
    edit.daySet = 31;
    edit.dayOfMonth = 9; // not used by this kind
    ASSERT_TRUE(storeTariffEdit(record, edit, 7u, QLocale::c()));

    EXPECT_EQ(record.IdNumber, 7u);
    EXPECT_EQ(record.Name.text(), QStringLiteral("Evening"));
    EXPECT_EQ(record.StartTime, 64800);
    EXPECT_EQ(record.FinishTime, 86399);
    EXPECT_EQ(record.UnitKind, 3);
    EXPECT_EQ(record.SecondsPerPulse, 120);
    EXPECT_EQ(record.ChargeKind, 2);
    EXPECT_EQ(record.UnitCost, 3000);
    EXPECT_EQ(record.MinCharge, 500);
    EXPECT_EQ(record.Colour, 0x008000u);
    EXPECT_EQ(record.AppliesTo, 2);
    EXPECT_EQ(record.AppliesValue, 31u);
    EXPECT_EQ(record.TotalSeconds, 0u);
    EXPECT_EQ(record.TotalCost, 0);
    EXPECT_EQ(record.CallCount, 0);
    EXPECT_EQ(record.DateFrom, 0.0);

    record.TotalSeconds = 600;
    record.CallCount = 4;
    record.TotalCost = 12000;
    edit.appliesTo = AppliesKind::Era;
    edit.dateFrom = QDate(2026, 3, 1);
    edit.dateTo = QDate(2026, 3, 10);
    edit.daySet = 96;
    edit.name = QString(70, QLatin1Char('n'));
    ASSERT_TRUE(storeTariffEdit(record, edit, std::nullopt, QLocale::c()));
    EXPECT_EQ(record.IdNumber, 7u) << "editing never changes the id";
    EXPECT_EQ(record.Name.length, 64);
    EXPECT_EQ(record.AppliesTo, 7);
    EXPECT_EQ(record.AppliesValue, 31u) << "the day set is not the era's to change";
    EXPECT_EQ(record.DateFrom, 46082.0); // 1 March 2026
    EXPECT_EQ(record.DateTo, 46091.0);
    EXPECT_EQ(record.TotalSeconds, 600u);
    EXPECT_EQ(record.CallCount, 4);
    EXPECT_EQ(record.TotalCost, 12000);
}

TEST(TariffEditorRules, AnAmountThatIsNotMoneyStoresNothing)
{
    Tariff record;
    std::memset(&record, 0, sizeof record);
    record.UnitCost = 1500;
    record.StartTime = 5;
    TariffEdit edit = editFor(AppliesKind::EveryDay, 100, 200);
    edit.minCharge = QStringLiteral("0.1O");
    EXPECT_EQ(storeTariffEdit(record, edit, std::nullopt, QLocale::c()).error(), TariffEditProblem::MinChargeNotAmount);
    EXPECT_EQ(record.UnitCost, 1500);
    EXPECT_EQ(record.StartTime, 5);
}

TEST(TariffEditorRules, DeletingMovesLaterRecordsDown)
{
    auto table = std::make_unique<TariffTable>();
    blankTariffTable(*table);
    for (std::uint32_t i = 0; i < 4; ++i)
        table->records[i].IdNumber = i + 1;
    table->Count = 4;

    EXPECT_TRUE(deleteTariffAt(*table, 1));
    EXPECT_EQ(table->Count, 3);
    EXPECT_EQ(table->records[0].IdNumber, 1u);
    EXPECT_EQ(table->records[1].IdNumber, 3u);
    EXPECT_EQ(table->records[2].IdNumber, 4u);
    EXPECT_EQ(table->records[3].IdNumber, 4u) << "the slot out of use keeps its old bytes";

    EXPECT_TRUE(deleteTariffAt(*table, 2));
    EXPECT_EQ(table->Count, 2);
    EXPECT_EQ(table->records[1].IdNumber, 3u);

    EXPECT_FALSE(deleteTariffAt(*table, 2));
    EXPECT_FALSE(deleteTariffAt(*table, -1));
    EXPECT_EQ(table->Count, 2);
}

TEST(TariffEditorRules, ColoursKeepRedInTheLowByte)
{
    EXPECT_EQ(tariffColourIndex(0x000080), 1) << "dark red";
    EXPECT_EQ(tariffColourIndex(0x008000), 2) << "dark green, the new tariff's colour";
    EXPECT_EQ(tariffColourIndex(0x800000), 4) << "dark blue";
    EXPECT_EQ(tariffColourIndex(0x00FFFF), 11) << "yellow";
    EXPECT_EQ(tariffColourIndex(0x123456), std::nullopt);
}

TEST(TariffEditorRules, PickerButtonsWrap)
{
    struct Case {
        std::uint32_t (*step)(std::uint32_t);
        std::uint32_t from;
        std::uint32_t to;
    };
    const Case cases[] = {
        { nextDayOfMonth, 28, 1 },
        { nextDayOfMonth, 5, 6 },
        { previousDayOfMonth, 1, 28 },
        { previousDayOfMonth, 5, 4 },
        { previousDayOfMonth, 31, 28 },
        { nextDayOfMonth, 0, 1 },
        { nextMonth, 12, 1 },
        { nextMonth, 1, 2 },
        { previousMonth, 1, 12 },
        { previousMonth, 12, 11 },
        { nextYear, 1999, 2000 },
        { nextYear, 9999, 10000 },
        { previousYear, 2026, 2025 },
        { previousYear, 2, 1 },
        { previousYear, 1, 2000 },
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.step(c.from), c.to) << "from " << c.from;
}
