#include "core/spending/CycleUsage.h"

#include "core/spending/DataAllowance.h"
#include "core/store/DateTimeValue.h"
#include "support/CallRecordTimes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

CallRecord loggedCall(int day, int month, int provider, std::uint32_t seconds, MoneyValue cost)
{
    CallRecord r;
    std::memset(&r, 0, sizeof r);
    r.StartDay = r.EndDay = std::uint8_t(day);
    r.StartMonth = r.EndMonth = std::uint8_t(month);
    r.StartYear = r.EndYear = 26;
    r.ProviderIndex = std::uint8_t(provider);
    r.DurationSeconds = seconds;
    r.Cost = cost;
    return r;
}

// A call as a log holds it, with its times: it ends its seconds after it starts.
CallRecord timedCall(QDateTime start, int provider, std::uint32_t seconds)
{
    CallRecord r;
    std::memset(&r, 0, sizeof r);
    setCallTimes(r, start, seconds);
    r.ProviderIndex = std::uint8_t(provider);
    return r;
}

} // namespace

// The counter asked again after each change it is told of must give what a
// fresh count of the log gives: a stale count would show the user a wrong month.
TEST(CycleUsage, TheCounterFollowsEveryChangeToTheLogAndTheRunningCall)
{
    auto log = std::make_unique<CallLogTable>();
    log->records[0] = loggedCall(3, 3, 0, 300, 1000);
    log->records[1] = loggedCall(20, 3, 0, 600, 2000);
    log->records[2] = loggedCall(4, 3, 1, 60, 500);
    log->records[3] = loggedCall(25, 2, 0, 120, 700); // the cycle before
    log->Count = 4;
    const BillingCycle march { QDate(2026, 3, 1), QDate(2026, 4, 1) };
    const BillingCycle february { QDate(2026, 2, 1), QDate(2026, 3, 1) };
    const QDate today(2026, 3, 21);
    CurrentCall call;
    int provider = 0;
    BillingCycle cycle = march;
    std::uint64_t logChanges = 0; // as AppCore counts them

    const struct {
        const char *what;
        std::function<void()> change;
        CycleUsage expected;
    } steps[] = {
        { "first count", [] {}, { 2, 900, 3000 } },
        { "asked again unchanged", [] {}, { 2, 900, 3000 } },
        { "a cost edited in place",
            [&] {
                log->records[1].Cost = 2500;
                ++logChanges;
            },
            { 2, 900, 3500 } },
        { "a call logged",
            [&] {
                log->records[log->Count++] = loggedCall(21, 3, 0, 30, 100);
                ++logChanges;
            },
            { 3, 930, 3600 } },
        { "a call deleted",
            [&] {
                log->records[0].ProviderIndex = kDeletedCall;
                ++logChanges;
            },
            { 2, 630, 2600 } },
        { "another provider", [&] { provider = 1; }, { 1, 60, 500 } },
        { "its call runs",
            [&] {
                call.Connected = true;
                call.CallProvider = 1;
                call.CallStart = toDateTimeValue(QDateTime(today, QTime(10, 0)));
                call.CallSeconds = 10;
                call.CallCost = 40;
            },
            { 2, 70, 540 } },
        { "a second later",
            [&] {
                call.CallSeconds = 11;
                call.CallCost = 80;
            },
            { 2, 71, 580 } },
        { "the running call is the other provider's", [&] { call.CallProvider = 0; }, { 1, 60, 500 } },
        { "the cycle before",
            [&] {
                provider = 0;
                cycle = february;
            },
            { 1, 120, 700 } },
    };
    CycleUsageCounter counter;
    for (const auto &step : steps) {
        step.change();
        const CycleUsage usage = counter.usage(*log, logChanges, provider, cycle, call, today);
        EXPECT_EQ(usage.calls, step.expected.calls) << step.what;
        EXPECT_EQ(usage.seconds, step.expected.seconds) << step.what;
        EXPECT_EQ(usage.cost, step.expected.cost) << step.what;
    }
}

// Billing months reach back into the archive: each month's figures are
// checked against sums taken here from the raw records, archived and logged.
TEST(CycleUsage, ArchivedCallsCountInTheirBillingMonth)
{
    const auto callOn = [](int year, int month, int day, int provider, std::uint32_t seconds, MoneyValue cost) {
        CallRecord r = loggedCall(day, month, provider, seconds, cost);
        r.StartYear = r.EndYear = std::uint8_t(year % 100);
        return r;
    };
    // Months begin on the 15th; the archive ends and the log begins inside the month from 15 December.
    const std::vector<CallRecord> archived {
        callOn(2025, 11, 20, 0, 100, 1'000),
        callOn(2025, 12, 14, 0, 200, 2'000), // the day before that month
        callOn(2025, 12, 15, 0, 300, 3'000),
        callOn(2025, 12, 31, 1, 400, 4'000),
        callOn(2026, 1, 2, 0, 500, 5'000),
    };
    auto log = std::make_unique<CallLogTable>();
    for (const CallRecord &r : { callOn(2026, 1, 3, 0, 600, 6'000), callOn(2026, 1, 14, 0, 700, 7'000),
             callOn(2026, 1, 15, 0, 800, 8'000), callOn(2026, 1, 10, 1, 900, 9'000) })
        log->records[log->Count++] = r;

    const struct {
        QDate today;
        int provider;
        BillingCycle cycle; // as a calendar gives it
    } cases[] = {
        { QDate(2026, 1, 14), 0, { QDate(2025, 12, 15), QDate(2026, 1, 15) } }, // straddles archive and log
        { QDate(2026, 1, 14), 1, { QDate(2025, 12, 15), QDate(2026, 1, 15) } },
        { QDate(2025, 12, 1), 0, { QDate(2025, 11, 15), QDate(2025, 12, 15) } }, // the archive alone
        { QDate(2026, 2, 1), 0, { QDate(2026, 1, 15), QDate(2026, 2, 15) } }, // the log alone
    };
    CycleUsageCounter counter;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.today.toString(Qt::ISODate).toStdString() + " provider " + std::to_string(c.provider));
        const BillingCycle cycle = billingCycleOn(c.today, 15);
        EXPECT_EQ(cycle.start, c.cycle.start);
        EXPECT_EQ(cycle.end, c.cycle.end);
        CycleUsage expected;
        std::vector<CallRecord> raw = archived;
        raw.insert(raw.end(), log->records, log->records + log->Count);
        for (const CallRecord &r : raw) {
            const QDate day(2000 + r.StartYear, r.StartMonth, r.StartDay);
            if (r.ProviderIndex == c.provider && day >= c.cycle.start && day < c.cycle.end) {
                ++expected.calls;
                expected.seconds += r.DurationSeconds;
                expected.cost += r.Cost;
            }
        }
        ASSERT_GT(expected.calls, 0);
        const CycleUsage counted = counter.usage(*log, 0, c.provider, c.cycle, CurrentCall {}, c.today, archived);
        EXPECT_EQ(counted.calls, expected.calls);
        EXPECT_EQ(counted.seconds, expected.seconds);
        EXPECT_EQ(counted.cost, expected.cost);
    }
}

// A data plan's billing month counts the bytes of archived calls as it counts
// the log's: a call archived on the month's first day whole, one that ran
// into the month from the night before for its seconds inside. Each call's
// share is worked out by hand in the table.
TEST(CycleUsage, ArchivedBytesCountInTheirBillingMonth)
{
    const auto at = [](int month, int day, int hour, int minute) {
        return QDateTime(QDate(2026, month, day), QTime(hour, minute));
    };
    struct Row {
        bool archived;
        CallRecord call;
        CallVolume volume;
        // The bytes counted in the month from 15 January, both ways and received only; in the month before.
        std::int64_t both, in, before;
    };
    const Row calls[] = {
        { true, timedCall(at(1, 14, 10, 0), 0, 60), { 1'000, 2'000 }, 0, 0, 3'000 },
        // 23:00 to 01:00: half its seconds in each month.
        { true, timedCall(at(1, 14, 23, 0), 0, 7200), { 6'000, 2'000 }, 4'000, 3'000, 4'000 },
        { true, timedCall(at(1, 15, 0, 0), 0, 600), { 40'000, 5'000 }, 45'000, 40'000, 0 },
        { true, timedCall(at(1, 20, 9, 0), 1, 600), { 9'999'999, 1 }, 0, 0, 0 }, // another provider's
        { true, timedCall(at(1, 21, 9, 0), 0, 600), {}, 0, 0, 0 }, // never counted
        { false, timedCall(at(1, 20, 12, 0), 0, 300), { 100'000, 20'000 }, 120'000, 100'000, 0 },
        // 23:30 to 00:30 into the next month: half of it here.
        { false, timedCall(at(2, 14, 23, 30), 0, 3600), { 8'000, 4'000 }, 6'000, 4'000, 0 },
        { false, timedCall(at(2, 15, 8, 0), 0, 60), { 70'000, 0 }, 0, 0, 0 },
    };
    std::vector<CallRecord> archived;
    std::vector<CallVolume> archivedVolumes;
    auto log = std::make_unique<CallLogTable>();
    std::vector<CallVolume> volumes;
    for (const auto &c : calls) {
        if (c.archived) {
            archived.push_back(c.call);
            archivedVolumes.push_back(c.volume);
        } else {
            log->records[log->Count++] = c.call;
            volumes.push_back(c.volume);
        }
    }
    VolumePlan both;
    VolumePlan received;
    received.counted = CountedBytes::In;
    const BillingCycle january { QDate(2026, 1, 15), QDate(2026, 2, 15) };
    const BillingCycle december { QDate(2025, 12, 15), QDate(2026, 1, 15) };
    const struct {
        const char *what;
        const VolumePlan &plan;
        BillingCycle cycle;
        std::int64_t Row::*share;
    } cases[] = {
        { "both ways", both, january, &Row::both },
        { "received only", received, january, &Row::in },
        { "the month before", both, december, &Row::before },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        std::int64_t expected = 0;
        for (const Row &row : calls)
            expected += row.*c.share;
        ASSERT_GT(expected, 0);
        EXPECT_EQ(loggedCycleBytes(c.plan, 0, c.cycle, QDate(2026, 2, 1), *log, volumes, archived, archivedVolumes),
            expected);
    }
}
