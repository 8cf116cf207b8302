#include "core/spending/CycleUsage.h"

#include "core/store/DateTimeValue.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

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

} // namespace

// The counter asked again after each change must give what a fresh count of
// the log gives: a stale count would show the user a wrong month.
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

    const struct {
        const char *what;
        std::function<void()> change;
        CycleUsage expected;
    } steps[] = {
        { "first count", [] {}, { 2, 900, 3000 } },
        { "asked again unchanged", [] {}, { 2, 900, 3000 } },
        { "a cost edited in place", [&] { log->records[1].Cost = 2500; }, { 2, 900, 3500 } },
        { "a call logged", [&] { log->records[log->Count++] = loggedCall(21, 3, 0, 30, 100); }, { 3, 930, 3600 } },
        { "a call deleted", [&] { log->records[0].ProviderIndex = kDeletedCall; }, { 2, 630, 2600 } },
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
        const CycleUsage usage = counter.usage(*log, provider, cycle, call, today);
        EXPECT_EQ(usage.calls, step.expected.calls) << step.what;
        EXPECT_EQ(usage.seconds, step.expected.seconds) << step.what;
        EXPECT_EQ(usage.cost, step.expected.cost) << step.what;
    }
}
