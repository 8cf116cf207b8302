#include "core/providers/ProviderAccount.h"
#include "core/store/TableBlanks.h"

#include "support/FakeClock.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

CallRecord call(int provider, int year, int month, int day, std::uint32_t seconds)
{
    CallRecord record {};
    record.StartDay = std::uint8_t(day);
    record.StartMonth = std::uint8_t(month);
    record.StartYear = std::uint8_t(year);
    record.StartHour = 23;
    record.ProviderIndex = std::uint8_t(provider);
    record.DurationSeconds = seconds;
    // A real call ends its seconds after it starts; one that does not is damaged and never counted.
    const QDateTime end = QDateTime(QDate(2000 + year, month, day), QTime(23, 0)).addSecs(seconds);
    if (end.isValid()) {
        record.EndDay = std::uint8_t(end.date().day());
        record.EndMonth = std::uint8_t(end.date().month());
        record.EndYear = std::uint8_t(end.date().year() % 100);
        record.EndHour = std::uint8_t(end.time().hour());
        record.EndMinute = std::uint8_t(end.time().minute());
    }
    return record;
}

std::unique_ptr<CallLogTable> logOf(std::initializer_list<CallRecord> calls)
{
    auto log = std::make_unique<CallLogTable>();
    blankCallLog(*log);
    for (const CallRecord &record : calls)
        log->records[log->Count++] = record;
    return log;
}

constexpr std::uint32_t kHour = 3600;

} // namespace

TEST(ProviderAccount, MonthlyUsageCountsOnlyTheProvidersLoggedCallsByStartMonth)
{
    auto log = logOf({
        call(0, 25, 11, 3, 6 * kHour),
        call(0, 25, 11, 30, 6 * kHour + 59 * 60), // starts late on the 30th, still November
        call(1, 25, 11, 4, 10 * kHour), // another provider
        call(kDeletedCall, 25, 11, 5, 5 * kHour),
        call(0, 25, 12, 1, 9 * kHour),
        call(0, 99, 1, 1, 60),
        call(0, 120, 1, 1, 7 * kHour), // damaged year byte
        call(0, 25, 13, 1, 7 * kHour), // damaged month byte
        call(0, 25, 0, 1, 7 * kHour),
    });
    log->records[log->Count] = call(0, 25, 11, 6, 50 * kHour); // beyond the count: not a call

    const MonthlyUsage usage = GetTotalDurationForProviderMonth(*log, 0);
    EXPECT_EQ(usage.seconds(25, 11), 12 * kHour + 59 * 60);
    EXPECT_EQ(usage.seconds(25, 12), 9 * kHour);
    EXPECT_EQ(usage.seconds(99, 1), 60u);
    EXPECT_EQ(usage.seconds(25, 10), 0u);
    EXPECT_EQ(usage.seconds(120, 1), 0u);
    EXPECT_EQ(GetTotalDurationForProviderMonth(*log, 1).seconds(25, 11), 10 * kHour);

    log->Count = kMaxLogRecords + 100; // a damaged count reads no further than the table
    EXPECT_EQ(GetTotalDurationForProviderMonth(*log, 0).seconds(25, 11), 12 * kHour + 59 * 60 + 50 * kHour);
}

TEST(ProviderAccount, ChargesToDate)
{
    const FakeClock clock; // 2 March 2026, 10:00
    const QDate today = clock.now().date();
    auto log = logOf({ call(0, 25, 11, 3, 12 * kHour + 59 * 60), call(0, 25, 12, 1, 9 * kHour) });
    const MonthlyUsage usage = GetTotalDurationForProviderMonth(*log, 0);
    const MonthlyUsage none;

    struct Case {
        const char *what;
        QDate startedOn;
        MoneyValue fee;
        int limit;
        MoneyValue extra;
        const MonthlyUsage &usage;
        MoneyValue expected;
    };
    const Case cases[] = {
        { "45 days: one whole period", today.addDays(-45), 100000, 0, 0, none, 100000 },
        { "60 days: two periods", today.addDays(-60), 100000, 0, 0, none, 200000 },
        { "29 days: none yet", today.addDays(-29), 100000, 0, 0, none, 0 },
        { "30 days: the first period", today.addDays(-30), 100000, 0, 0, none, 100000 },
        { "only hours past the limit, whole hours", today.addDays(-400), 0, 10, 20000, usage, 40000 },
        { "fee and extra hours together", today.addDays(-60), 100000, 10, 20000, usage, 240000 },
        { "no limit: no extra hours", today.addDays(-400), 0, 0, 20000, usage, 0 },
        { "started today: no fee, earlier months still charged", today, 100000, 10, 20000, usage, 40000 },
        { "start in the future: nothing", today.addDays(1), 100000, 10, 20000, usage, 0 },
        { "never set: nothing", QDate(), 100000, 10, 20000, usage, 0 },
        // 365 days hold 12 whole periods: 12 x 12,345,678,901.2345 = 148,148,146,814.8140.
        { "a fee too long for a short field, to its last digit", today.addDays(-365), 123'456'789'012'345, 0, 0, none,
            1'481'481'468'148'140 },
    };
    for (const Case &c : cases) {
        const AccountTerms terms { c.startedOn, c.fee, c.limit, c.extra };
        EXPECT_EQ(CalcTodateProviderCost(terms, c.usage, clock.now()), c.expected) << c.what;
    }
}

// The extra hours of a calendar month count the calls moved to the archive
// with those still in the log; each case is summed here from the raw records.
TEST(ProviderAccount, ExtraHoursCountArchivedCallsWithTheLogs)
{
    const std::vector<CallRecord> archived {
        call(0, 25, 11, 20, 5 * kHour), // a month the archive alone holds
        call(0, 25, 12, 1, 4 * kHour), // archived on the month's first day
        call(0, 25, 12, 15, 3 * kHour + 30 * 60),
        call(1, 25, 12, 20, 20 * kHour),
        call(kDeletedCall, 25, 12, 21, 30 * kHour),
    };
    // December's hours run on from the archive into the log.
    auto log = logOf({ call(0, 25, 12, 28, 3 * kHour), call(0, 26, 1, 2, 2 * kHour), call(1, 26, 1, 5, kHour) });

    const FakeClock clock; // 2 March 2026, 10:00
    const struct {
        int provider;
        int limit;
        MoneyValue extra;
    } cases[] = { { 0, 8, 20'000 }, { 0, 4, 15'000 }, { 0, 1, 10'000 }, { 1, 10, 12'345 }, { 1, 19, 50'000 } };
    for (const auto &c : cases) {
        SCOPED_TRACE("provider " + std::to_string(c.provider) + " limit " + std::to_string(c.limit));
        std::map<std::pair<int, int>, std::uint64_t> seconds; // (year, month)
        std::vector<CallRecord> raw = archived;
        raw.insert(raw.end(), log->records, log->records + log->Count);
        for (const CallRecord &r : raw)
            if (r.ProviderIndex == c.provider)
                seconds[{ r.StartYear, r.StartMonth }] += r.DurationSeconds;
        MoneyValue expected = 0;
        for (const auto &[month, total] : seconds)
            if (const auto hours = std::int64_t(total / kHour); hours > c.limit)
                expected += (hours - c.limit) * c.extra;

        const AccountTerms terms { clock.now().date().addDays(-10), 0, c.limit, c.extra };
        const MonthlyUsage usage = GetTotalDurationForProviderMonth(*log, c.provider, archived);
        EXPECT_EQ(CalcTodateProviderCost(terms, usage, clock.now()), expected);
    }
}

TEST(ProviderAccount, ChargesNeverWrapAround)
{
    const FakeClock clock;
    const AccountTerms terms { QDate(1900, 1, 1), std::numeric_limits<MoneyValue>::max() / 2, 0, 0 };
    EXPECT_EQ(CalcTodateProviderCost(terms, MonthlyUsage(), clock.now()), std::numeric_limits<MoneyValue>::max());
}

TEST(ProviderAccount, StartDateZeroMeansNeverSet)
{
    Provider provider {};
    provider.MonthlyFee = 100000;
    EXPECT_FALSE(accountTermsOf(provider).startedOn.isValid());
    provider.StartedOn = 46038; // 16 January 2026
    EXPECT_EQ(accountTermsOf(provider).startedOn, QDate(2026, 1, 16));
    EXPECT_EQ(accountTermsOf(provider).monthlyFee, 100000);
}
