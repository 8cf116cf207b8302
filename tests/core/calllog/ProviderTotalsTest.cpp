#include "core/calllog/ProviderTotals.h"
#include "core/store/TableBlanks.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Call {
    std::uint8_t day, month, year;
    std::uint8_t provider;
    std::uint32_t seconds;
    MoneyValue cost;
};

class ProviderTotalsTest : public ::testing::Test {
protected:
    ProviderTotalsTest()
    {
        blankProviderTable(*providers);
        blankCallLog(*log);
        providers->Count = 2;
    }

    static CallRecord recordOf(const Call &c)
    {
        CallRecord r {};
        r.StartDay = c.day;
        r.StartMonth = c.month;
        r.StartYear = c.year;
        // Started at midnight, ended the call's seconds later.
        const QDateTime end = QDateTime(QDate(2000 + c.year, c.month, c.day), QTime(0, 0)).addSecs(c.seconds);
        r.EndDay = end.isValid() ? std::uint8_t(end.date().day()) : c.day;
        r.EndMonth = end.isValid() ? std::uint8_t(end.date().month()) : c.month;
        r.EndYear = end.isValid() ? std::uint8_t(end.date().year() % 100) : c.year;
        r.EndHour = std::uint8_t(end.time().hour());
        r.EndMinute = std::uint8_t(end.time().minute());
        r.EndSecond = std::uint8_t(end.time().second());
        r.ProviderIndex = c.provider;
        r.DurationSeconds = c.seconds;
        r.Cost = c.cost;
        return r;
    }

    void logCalls(std::initializer_list<Call> calls)
    {
        for (const Call &c : calls)
            log->records[log->Count++] = recordOf(c);
    }

    std::unique_ptr<ProviderTable> providers = std::make_unique<ProviderTable>();
    std::unique_ptr<CallLogTable> log = std::make_unique<CallLogTable>();
};

struct Counters {
    std::uint32_t todaySeconds;
    MoneyValue todayCost;
    std::uint16_t todayCalls;
    std::uint32_t monthSeconds;
    MoneyValue monthCost;
    std::uint16_t monthCalls;
    std::uint32_t totalSeconds;
    MoneyValue totalCost;
    std::uint16_t totalCalls;
};

void expectCounters(const Provider &p, const Counters &c)
{
    EXPECT_EQ(p.TodaySeconds, c.todaySeconds);
    EXPECT_EQ(p.TodayCost, c.todayCost);
    EXPECT_EQ(p.TodayCalls, c.todayCalls);
    EXPECT_EQ(p.MonthSeconds, c.monthSeconds);
    EXPECT_EQ(p.MonthCost, c.monthCost);
    EXPECT_EQ(p.MonthCalls, c.monthCalls);
    EXPECT_EQ(p.TotalSeconds, c.totalSeconds);
    EXPECT_EQ(p.TotalCost, c.totalCost);
    EXPECT_EQ(p.TotalCalls, c.totalCalls);
}

} // namespace

TEST_F(ProviderTotalsTest, TodayMonthAndTotalComeFromTheCallsStartDates)
{
    providers->records[0].TotalCalls = 99; // whatever the counters held is replaced
    providers->records[1].MonthCost = 123;
    logCalls({
        { 2, 3, 26, 0, 60, 10000 }, // today
        { 1, 3, 26, 0, 1, 1 }, // yesterday (and ended today): month only
        { 30, 1, 26, 0, 120, 20000 }, // 31 days ago: still in the month
        { 29, 1, 26, 0, 180, 30000 }, // 32 days ago
        { 3, 3, 26, 0, 240, 40000 }, // after today
        { 2, 3, 26, kDeletedCall, 7, 7 },
        { 2, 3, 26, kUnusedSlot, 7, 7 },
        { 2, 3, 26, 1, 30, 500 },
    });
    UpdateProviderTotals(*providers, *log, QDate(2026, 3, 2));
    expectCounters(providers->records[0], { 60, 10000, 1, 181, 30001, 3, 601, 100001, 5 });
    expectCounters(providers->records[1], { 30, 500, 1, 30, 500, 1, 30, 500, 1 });
}

TEST_F(ProviderTotalsTest, TheMonthReachesBackOverTheNewYear)
{
    logCalls({ { 12, 12, 25, 0, 10, 100 }, { 4, 12, 25, 0, 20, 200 } });
    UpdateProviderTotals(*providers, *log, QDate(2026, 1, 5));
    expectCounters(providers->records[0], { 0, 0, 0, 10, 100, 1, 30, 300, 2 });
}

TEST_F(ProviderTotalsTest, DamagedRecordsCountNowhere)
{
    const Provider slotFive = providers->records[5];
    logCalls({
        { 0, 3, 26, 0, 1, 1 }, // no such day
        { 31, 2, 26, 0, 2, 2 }, // nor this
        { 2, 13, 26, 0, 4, 4 }, // no thirteenth month
        { 2, 3, 255, 0, 8, 8 }, // a year far ahead
        { 2, 3, 26, 5, 16, 16 }, // a provider the table does not hold
    });
    log->records[log->Count].ProviderIndex = 0; // beyond the count: not part of the log
    log->records[log->Count].DurationSeconds = 1000;
    UpdateProviderTotals(*providers, *log, QDate(2026, 3, 2));
    // Impossible dates are never summed, not even into the total.
    expectCounters(providers->records[0], { 0, 0, 0, 0, 0, 0, 0, 0, 0 });
    EXPECT_EQ(providers->records[5].TotalSeconds, slotFive.TotalSeconds);
}

TEST_F(ProviderTotalsTest, ArchivedCallsCountAsTheLogsDo)
{
    logCalls({ { 2, 3, 26, 0, 60, 10000 } });
    // Moved out of a full log: one of today, one of 10 January, one of a provider the table does not hold.
    const std::vector<CallRecord> archived
        = { recordOf({ 2, 3, 26, 1, 5, 50 }), recordOf({ 10, 1, 26, 1, 70, 700 }), recordOf({ 2, 3, 26, 9, 1, 1 }) };
    UpdateProviderTotals(*providers, *log, QDate(2026, 3, 2), archived);
    expectCounters(providers->records[0], { 60, 10000, 1, 60, 10000, 1, 60, 10000, 1 });
    expectCounters(providers->records[1], { 5, 50, 1, 5, 50, 1, 75, 750, 2 });
}
