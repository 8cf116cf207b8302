#include "core/store/CallRecordCheck.h"
#include "core/store/DataFiles.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A sound call of 90 seconds, 1 March 2026 10:00:00 to 10:01:30.
CallRecord soundCall()
{
    CallRecord r;
    std::memset(&r, 0, sizeof r);
    const std::uint8_t bytes[12] = { 1, 3, 26, 10, 0, 0, 1, 3, 26, 10, 1, 30 };
    std::memcpy(&r, bytes, sizeof bytes);
    r.ProviderIndex = 0;
    r.DurationSeconds = 90;
    r.Cost = 15000;
    return r;
}

} // namespace

TEST(CallRecordCheck, EachImpossibleFieldIsNamed)
{
    const struct {
        const char *what;
        int offset; // of the byte changed, -1 for none
        std::uint8_t value;
        std::uint32_t seconds;
        MoneyValue cost;
        CallRecordFault fault;
        const char *text; // part of the words
    } cases[] = {
        { "sound", -1, 0, 90, 15000, CallRecordFault::None, "" },
        { "month 13", 1, 13, 90, 15000, CallRecordFault::StartDate, "2026-13-01" },
        { "day 0", 0, 0, 90, 15000, CallRecordFault::StartDate, "2026-03-00" },
        { "day 32", 0, 32, 90, 15000, CallRecordFault::StartDate, "2026-03-32" },
        { "year 160", 2, 160, 90, 15000, CallRecordFault::StartDate, "2160" },
        { "hour 25", 3, 25, 90, 15000, CallRecordFault::StartTime, "25:00:00" },
        { "second 60", 5, 60, 90, 15000, CallRecordFault::StartTime, "10:00:60" },
        { "end minute 61", 10, 61, 90, 15000, CallRecordFault::EndTime, "10:61:30" },
        { "end day 32", 6, 32, 90, 15000, CallRecordFault::EndDate, "2026-03-32" },
        { "end in February", 7, 2, 90, 15000, CallRecordFault::EndBeforeStart, "2026-02-01 10:01:30" },
        { "end hour 9", 9, 9, 0, 15000, CallRecordFault::EndBeforeStart, "before" },
        // Up to an hour and a second more than the stamps span: a clock set back.
        { "an hour longer", -1, 0, 90 + 3601, 15000, CallRecordFault::None, "" },
        { "longer still", -1, 0, 90 + 3602, 15000, CallRecordFault::Duration, "3692" },
        { "shorter is fine", -1, 0, 1, 15000, CallRecordFault::None, "" },
        { "negative cost", -1, 0, 90, -1, CallRecordFault::Cost, "-1" },
        { "largest cost", -1, 0, 90, 100'000'000'000'000, CallRecordFault::None, "" },
        { "beyond any call", -1, 0, 90, 100'000'000'000'001, CallRecordFault::Cost, "" },
    };
    for (const auto &c : cases) {
        CallRecord r = soundCall();
        if (c.offset >= 0)
            reinterpret_cast<std::uint8_t *>(&r)[c.offset] = c.value;
        r.DurationSeconds = c.seconds;
        r.Cost = c.cost;
        const CallRecordFault fault = callRecordFault(r);
        EXPECT_EQ(fault, c.fault) << c.what;
        EXPECT_EQ(isSoundCall(r), c.fault == CallRecordFault::None) << c.what;
        EXPECT_TRUE(callRecordFaultText(r, fault).contains(QLatin1String(c.text)))
            << c.what << ": " << callRecordFaultText(r, fault).toStdString();
    }
}

TEST(CallRecordCheck, CallsAcrossMidnightTheYearAndTheCenturyAreSound)
{
    CallRecord r = soundCall();
    // 31/12/99 23:59:30 to 01/01/00 00:00:30.
    const std::uint8_t bytes[12] = { 31, 12, 99, 23, 59, 30, 1, 1, 0, 0, 0, 30 };
    std::memcpy(&r, bytes, sizeof bytes);
    r.DurationSeconds = 60;
    EXPECT_EQ(callRecordFault(r), CallRecordFault::None);
    // 29 February exists in year 24, not in year 25.
    const std::uint8_t leap[12] = { 29, 2, 24, 10, 0, 0, 29, 2, 24, 10, 1, 0 };
    std::memcpy(&r, leap, sizeof leap);
    EXPECT_EQ(callRecordFault(r), CallRecordFault::None);
    r.StartYear = r.EndYear = 25;
    EXPECT_EQ(callRecordFault(r), CallRecordFault::StartDate);
}

// Every day a two-digit year can name is checked against the calendar: a day
// that does not exist is refused, and a call over each midnight spans its
// two minutes, no more (a day too many or too few shows as a wrong span).
TEST(CallRecordCheck, EveryDayOfTheCenturyAsTheCalendarHasIt)
{
    int days = 0;
    for (int year = 2000; year <= 2099; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                CallRecord r = soundCall();
                r.StartDay = r.EndDay = std::uint8_t(day);
                r.StartMonth = r.EndMonth = std::uint8_t(month);
                r.StartYear = r.EndYear = std::uint8_t(year - 2000);
                const QDate date(year, month, day);
                if (!date.isValid()) {
                    ASSERT_EQ(callRecordFault(r), CallRecordFault::StartDate) << year << '-' << month << '-' << day;
                    continue;
                }
                ++days;
                const QDate next = date.addDays(1);
                r.StartHour = 23;
                r.StartMinute = 59;
                r.StartSecond = 0;
                r.EndDay = std::uint8_t(next.day());
                r.EndMonth = std::uint8_t(next.month());
                r.EndYear = std::uint8_t(next.year() % 100);
                r.EndHour = 0;
                r.EndMinute = 1;
                r.EndSecond = 0;
                r.DurationSeconds = 120 + 3601;
                ASSERT_EQ(callRecordFault(r), CallRecordFault::None) << date.toString(Qt::ISODate).toStdString();
                r.DurationSeconds = 120 + 3602;
                ASSERT_EQ(callRecordFault(r), CallRecordFault::Duration) << date.toString(Qt::ISODate).toStdString();
            }
        }
    }
    EXPECT_EQ(days, QDate(2000, 1, 1).daysTo(QDate(2100, 1, 1)));
}

TEST(CallRecordCheck, DeletedAndUnusedSlotsAreNotCallsAndNeverDamaged)
{
    CallRecord unused;
    std::memset(&unused, 0xFF, sizeof unused);
    EXPECT_EQ(callRecordFault(unused), CallRecordFault::None);
    EXPECT_FALSE(isLoggedCall(unused));
    CallRecord damaged = soundCall();
    damaged.StartMonth = 13;
    EXPECT_TRUE(isCallSlot(damaged));
    EXPECT_FALSE(isLoggedCall(damaged)) << "never shown or summed";
    damaged.ProviderIndex = kDeletedCall;
    EXPECT_EQ(callRecordFault(damaged), CallRecordFault::None);

    CallRecord calls[4] = { soundCall(), soundCall(), soundCall(), soundCall() };
    calls[1].StartHour = 24;
    calls[3].ProviderIndex = 2; // a table of two providers has no index 2
    EXPECT_EQ(damagedCalls(calls, 4).count, 1);
    const DamagedCalls damagedInTable = damagedCalls(calls, 4, 2);
    EXPECT_EQ(damagedInTable.count, 2);
    EXPECT_EQ(damagedInTable.first, 1);
}

TEST(DataFilesArchive, OnlyWholeRecordsOfAPlainFileAreRead)
{
    QTemporaryDir dir;
    const DataFiles files(dir.path());
    std::vector<CallRecord> calls;
    EXPECT_EQ(files.loadLogArchive(calls), DataFiles::ArchiveState::Missing);

    const CallRecord call = soundCall();
    QByteArray two(reinterpret_cast<const char *>(&call), sizeof call);
    two += two;
    two[32 + 4] = 7; // the second starts at 10:07:00
    const QString path = files.path(DataFiles::kLogArchiveFile);
    const auto write = [&path](const QByteArray &bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    };
    write(two);
    ASSERT_EQ(files.loadLogArchive(calls), DataFiles::ArchiveState::Loaded);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].StartMinute, 7);
    EXPECT_EQ(calls[1].Cost, 15000);

    write(two.left(33));
    EXPECT_EQ(files.loadLogArchive(calls), DataFiles::ArchiveState::Damaged);
    EXPECT_TRUE(calls.empty());

    QFile::remove(path);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), path));
    EXPECT_EQ(files.loadLogArchive(calls), DataFiles::ArchiveState::Unreadable) << "a device is never read";
}
