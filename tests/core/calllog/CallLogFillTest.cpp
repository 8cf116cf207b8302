#include "core/calllog/CallLogFill.h"
#include "core/calllog/CallLogCells.h"
#include "core/calllog/CallLogRows.h"

#include "core/calllog/CallLogTestLog.h"

#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 3, 2);

class CallLogFillTest : public ::testing::Test {
protected:
    CallLogFillTest()
    {
        t.addProvider("Home");
        t.addProvider("Office");
        t.add({ 0, 2, 3, 26, 100, 10000 }); // 0: today
        t.add({ 1, 30, 1, 26, 200, 20000 }); // 1: 31 days ago
        t.add({ 1, 29, 1, 26, 400, 40000 }); // 2: 32 days ago
        t.add({ 0, 2, 3, 26, 800, 80000 }).ProviderIndex = kDeletedCall; // 3
        t.add({ 0, 3, 3, 26, 1600, 160000 }); // 4: tomorrow
        t.add({ 1, 1, 3, 26, 3200, 320000 }); // 5: yesterday
    }
    TestLog t;
};

TEST_F(CallLogFillTest, FilterShowsOneProvidersCallsButCountersCoverAll)
{
    // Counters from earlier fills or a running call are replaced.
    t.providers->records[0].TotalCalls = 99;
    const CallLogFill fill = rebuildCallLog(*t.providers, *t.log, 1, kToday);
    EXPECT_EQ(fill.rows, (QList<int> { 1, 2, 5 }));
    EXPECT_EQ(fill.statistics.calls, 3);
    EXPECT_EQ(fill.statistics.secondsSum, 3800);

    const Provider &home = t.providers->records[0];
    EXPECT_EQ(home.TodayCalls, 1);
    EXPECT_EQ(home.TodaySeconds, 100u);
    EXPECT_EQ(home.MonthCalls, 1) << "tomorrow's call lies outside the window";
    EXPECT_EQ(home.TotalCalls, 2);
    EXPECT_EQ(home.TotalCost, 170000);
    const Provider &office = t.providers->records[1];
    EXPECT_EQ(office.TodayCalls, 0);
    EXPECT_EQ(office.MonthCalls, 2) << "31 days ago counts, 32 does not";
    EXPECT_EQ(office.MonthSeconds, 3400u);
    EXPECT_EQ(office.TotalCalls, 3);
}

TEST_F(CallLogFillTest, AllProvidersShowsEveryLoggedCallInTableOrder)
{
    t.log->records[t.log->Count + 1].ProviderIndex = 0; // beyond Count: not part of the log
    EXPECT_EQ(shownCalls(*t.log, kAllProviders), (QList<int> { 0, 1, 2, 4, 5 }));
    EXPECT_EQ(shownCalls(*t.log, 0), (QList<int> { 0, 4 }));
    EXPECT_TRUE(shownCalls(*t.log, 2).isEmpty());
    t.log->Count = -5; // a damaged settings file
    EXPECT_TRUE(shownCalls(*t.log, kAllProviders).isEmpty());
}

TEST_F(CallLogFillTest, ImpossibleDateBytesAreNeitherListedNorCounted)
{
    struct Bytes {
        std::uint8_t day, month, hour;
        const char *date, *time;
    };
    const Bytes cases[] = {
        { 0, 3, 10, "00/03/26", "10:00:00" },
        { 32, 3, 10, "32/03/26", "10:00:00" },
        { 2, 13, 10, "02/13/26", "10:00:00" },
        { 2, 3, 25, "02/03/26", "25:00:00" },
    };
    for (const Bytes &b : cases) {
        TestLog log;
        log.addProvider("Home");
        CallRecord &call = log.add({ 0, b.day, b.month, 26, 50, 500, b.hour });
        const CallLogFill fill = rebuildCallLog(*log.providers, *log.log, kAllProviders, kToday);
        // A damaged call stays in the log as it is, but is never listed or summed.
        EXPECT_TRUE(fill.rows.isEmpty()) << b.date;
        EXPECT_EQ(callLogCellText(call, 1, *log.providers, {}), QLatin1String(b.date));
        EXPECT_EQ(callLogCellText(call, 0, *log.providers, {}), QLatin1String(b.time));
        const Provider &p = log.providers->records[0];
        EXPECT_EQ(p.TotalCalls, 0) << b.date;
        EXPECT_EQ(p.MonthCalls, 0) << b.date;
    }
}

TEST(CallLogCells, ColumnsShowTheRecordsFieldsAndUnknownTariffs)
{
    TestLog t;
    t.addProvider("Dial & Co");
    auto tariffs = std::make_unique<TariffTable>();
    tariffs->Count = 1;
    tariffs->records[0].IdNumber = 7;
    tariffs->records[0].Name.setText(QStringLiteral("Evening"));
    CallRecord &call = t.add({ 0, 5, 3, 1, 3725, 12345, 9 });
    call.TariffId = 7;
    const QLocale c = QLocale::c();
    const QString expected[]
        = { "09:00:00", "05/03/01", "10:02:05", "05/03/01", "0001:02:05", "Evening", "        1.23", "Dial & Co" };
    for (int column = 0; column < kCallLogColumns; ++column)
        EXPECT_EQ(callLogCellText(call, column, *t.providers, *tariffs, c), expected[column]) << column;
    call.TariffId = 8;
    EXPECT_EQ(callLogCellText(call, 5, *t.providers, *tariffs, c), QStringLiteral("8 ?"));
    EXPECT_EQ(callLogHeaderText(kCostColumn, QStringLiteral("$ ")), QStringLiteral("$ Cost"));
    EXPECT_EQ(callLogHeaderText(7, QStringLiteral("$ ")), QStringLiteral("Connection"));
}

} // namespace
