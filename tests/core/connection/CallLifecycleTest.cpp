#include "CallMonitorTestFixture.h"

#include "core/store/DateTimeValue.h"

#include <cstring>

using namespace tariffdata;

namespace {

// Log records that count as calls of provider 0, numbered in their cost.
void fillLog(CallLogTable &log, int count, int deletedEvery = 0)
{
    for (int i = 0; i < count; ++i) {
        CallRecord &r = log.records[i];
        std::memset(&r, 0, sizeof r);
        r.StartDay = 1;
        r.StartMonth = 1;
        r.StartYear = 26;
        r.Cost = i;
        r.DurationSeconds = 1;
        r.ProviderIndex = deletedEvery > 0 && i % deletedEvery == 0 ? kDeletedCall : 0;
    }
    log.Count = count;
}

} // namespace

TEST_F(CallMonitorTest, ASecondBeginChangesNothing)
{
    setTariffs({ rate(1, 1, 10000, 5000) });
    monitor.startFakeCall();
    const DateTimeValue start = call().CallStart;
    tick(30);
    monitor.BeginConnection();
    EXPECT_EQ(call().CallStart, start);
    EXPECT_EQ(call().CallCost, 15000);
    EXPECT_EQ(provider(1).TotalCalls, 1);
    EXPECT_EQ(sound.played.size(), 0) << "sounds are off";
}

TEST_F(CallMonitorTest, EndingWhileIdleOrDuringASimulatedCallDoesNothing)
{
    monitor.EndConnection();
    EXPECT_EQ(core->log().Count, 0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    monitor.startFakeCall();
    tick(); // finds no connection
    tick();
    monitor.EndConnection();
    EXPECT_TRUE(call().Connected);
    EXPECT_EQ(call().CallSeconds, 2u);
    EXPECT_EQ(core->log().Count, 0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    monitor.endFakeCall();
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(core->log().Count, 1);
    monitor.endFakeCall();
    EXPECT_EQ(core->log().Count, 1);
}

TEST_F(CallMonitorTest, ALoggedCallIsWrittenByteForByte)
{
    setTariffs({ rate(1, 1, 10000, 5000) });
    core->tariffs().records[0].IdNumber = 300;
    clock.advanceMilliseconds(700); // the call is logged to the whole second
    dialUp.entries.push_back("Third");
    monitor.startUp();
    const auto handle = dialUp.connect("Third");
    for (int i = 0; i < 65; ++i)
        tick();
    dialUp.drop(handle);
    tick();

    // Begun on the first tick, 02/03/26 10:00:01, ended on the 66th, 10:01:06.
    QByteArray expected(32, char(0xFF)); // the unused bytes keep the blank slot's fill
    const unsigned char known[] = { 2, 3, 26, 10, 0, 1, 2, 3, 26, 10, 1, 6, 2 };
    std::memcpy(expected.data(), known, sizeof known);
    const unsigned char durationAndCost[] = { 65, 0, 0, 0, 0xA8, 0x61, 0, 0, 0, 0, 0, 0, 44 };
    std::memcpy(expected.data() + 16, durationAndCost, sizeof durationAndCost);
    EXPECT_EQ(read(QStringLiteral("Log.data")).left(32).toHex(' '), expected.toHex(' '));

    const Tariff &tariff = core->tariffs().records[0];
    EXPECT_EQ(tariff.CallCount, 1);
    EXPECT_EQ(tariff.TotalSeconds, 65u);
    EXPECT_EQ(tariff.TotalCost, 25000);
    const QByteArray tariffs = read(QStringLiteral("Tariffs.data"));
    ASSERT_EQ(tariffs.size(), 38912);
    EXPECT_EQ(std::memcmp(tariffs.constData(), &tariff, sizeof tariff), 0);
    EXPECT_TRUE(read(QStringLiteral("settings.data")).contains("Log.NumberOfRecords=1"));
    EXPECT_EQ(read(QStringLiteral("Providers.data")).size(), 55306);
    EXPECT_EQ(call().CallSeconds, 0u);
    EXPECT_EQ(call().CallCost, 0);
}

TEST_F(CallMonitorTest, ACallWithoutATariffInForceIsBookedUnderTheFirst)
{
    const struct {
        const char *what;
        bool withTariffs;
        std::uint8_t tariffId;
    } cases[] = { { "no tariffs at all", false, 0 }, { "none in force", true, 1 } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        setTariffs({});
        if (c.withTariffs)
            setTariffs({ allDay(5, 1999) });
        monitor.startFakeCall();
        tick(61);
        EXPECT_EQ(call().UnitLength, 60);
        EXPECT_EQ(call().CallCost, 0);
        monitor.endFakeCall();
        const CallRecord &record = core->log().records[core->log().Count - 1];
        EXPECT_EQ(record.Cost, 0);
        EXPECT_EQ(record.TariffId, c.tariffId);
        EXPECT_EQ(core->tariffs().records[0].CallCount, c.withTariffs ? 1 : 0);
    }
}

TEST_F(CallMonitorTest, TheProvidersCallCountsFollowTheDay)
{
    provider(1).TodayDate = toDateTimeValue(clock.now().date().addDays(-1));
    provider(1).TodayCalls = 5;
    monitor.startFakeCall();
    EXPECT_EQ(provider(1).TodayCalls, 1) << "a new day";
    EXPECT_EQ(provider(1).TodayDate, toDateTimeValue(clock.now().date()));
    EXPECT_EQ(provider(1).LastCallDate, toDateTimeValue(clock.now().date()));
    monitor.endFakeCall();
    monitor.startFakeCall();
    EXPECT_EQ(provider(1).TodayCalls, 2);
}

TEST_F(CallMonitorTest, TheEndOfACallRebuildsTheCountersFromTheLog)
{
    setTariffs({ rate(1, 2, 30000) });
    monitor.startFakeCall();
    tick();
    EXPECT_EQ(provider(1).TodayCost, 0) << "a single charge is not booked while the call runs";
    monitor.endFakeCall();
    EXPECT_EQ(provider(1).TodayCost, 30000);
    EXPECT_EQ(provider(1).MonthCost, 30000);

    int refills = 0;
    monitor.setCallLogRefill([&] { ++refills; });
    monitor.startFakeCall();
    tick();
    monitor.endFakeCall();
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(provider(1).TodayCost, 30000) << "the call log window's refill does the rebuild";
}

TEST_F(CallMonitorTest, ATickFromADialogOpenedWhileACallEndsWaits)
{
    setTariffs({ rate(2, 1, 100) });
    dialUp.connect("DemoEntry");
    tick();
    tick();
    int nested = 0;
    monitor.setCallLogRefill([&] {
        ++nested;
        clock.advanceSeconds(1);
        monitor.tick(); // the connection is still listed
    });
    monitor.endFakeCall(); // F3 during a real call
    EXPECT_EQ(nested, 1);
    EXPECT_FALSE(call().Connected) << "no call began inside the end of the last";
    EXPECT_EQ(core->log().Count, 1);
    monitor.setCallLogRefill({});
    tick();
    EXPECT_TRUE(call().Connected) << "the next tick begins the next call";
}

TEST_F(CallMonitorTest, ExitDuringACallLogsItAsADroppedLine)
{
    setTariffs({ rate(2, 1, 100) });
    dialUp.connect("DemoEntry");
    tick();
    tick(9);
    monitor.endCallForExit();
    EXPECT_FALSE(call().Connected);
    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 10u);
    EXPECT_EQ(core->log().records[0].Cost, 1000);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Log.data")))) << "written by the exit's save, once";
    ASSERT_TRUE(core->saveForExit().isEmpty());
    EXPECT_EQ(read(QStringLiteral("Log.data")).at(16), 10);

    monitor.startFakeCall();
    tick();
    monitor.endCallForExit();
    EXPECT_EQ(core->log().Count, 2) << "a simulated call ends too";
    monitor.endCallForExit();
    EXPECT_EQ(core->log().Count, 2);
}

TEST_F(CallMonitorTest, AFullLogFirstGivesBackTheSlotsOfDeletedCalls)
{
    fillLog(core->log(), kMaxLogRecords, 4096); // calls 0, 4096, 8192 and 12288 were deleted
    int notices = 0;
    QObject::connect(&monitor, &CallMonitor::oldCallsArchived, [&] { ++notices; });
    monitor.startFakeCall();
    monitor.endFakeCall();
    const CallLogTable &log = core->log();
    ASSERT_EQ(log.Count, kMaxLogRecords - 3);
    EXPECT_EQ(log.records[0].Cost, 1);
    EXPECT_EQ(log.records[4095].Cost, 4097) << "the calls keep their order";
    EXPECT_EQ(log.records[kMaxLogRecords - 5].Cost, kMaxLogRecords - 1);
    EXPECT_EQ(log.records[kMaxLogRecords - 4].ProviderIndex, 1) << "the new call follows the last";
    EXPECT_EQ(log.records[kMaxLogRecords - 3].ProviderIndex, kUnusedSlot);
    EXPECT_EQ(log.records[kMaxLogRecords - 1].ProviderIndex, kUnusedSlot);
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Log.archive.data"))));
}

TEST_F(CallMonitorTest, AFullLogWithoutDeletedCallsArchivesTheOldest)
{
    fillLog(core->log(), kMaxLogRecords);
    const QByteArray oldest(reinterpret_cast<const char *>(core->log().records), 1024 * 32);
    QList<int> notices;
    QObject::connect(&monitor, &CallMonitor::oldCallsArchived, [&](int calls, const QString &path) {
        notices.append(calls);
        EXPECT_EQ(path, file(QStringLiteral("Log.archive.data")));
    });
    monitor.startFakeCall();
    monitor.endFakeCall();
    const CallLogTable &log = core->log();
    ASSERT_EQ(log.Count, kMaxLogRecords - 1024 + 1);
    EXPECT_EQ(log.records[0].Cost, 1024);
    EXPECT_EQ(log.records[log.Count - 1].ProviderIndex, 1);
    EXPECT_EQ(read(QStringLiteral("Log.archive.data")), oldest);
    EXPECT_EQ(notices, QList<int> { 1024 });

    fillLog(core->log(), kMaxLogRecords);
    monitor.startFakeCall();
    monitor.endFakeCall();
    EXPECT_EQ(read(QStringLiteral("Log.archive.data")), oldest + oldest) << "appended";
    EXPECT_EQ(notices.size(), 1) << "the user is told once";
}

TEST_F(CallMonitorTest, AFailedSaveIsReportedAndTheCallKeptForTheNextSave)
{
    QStringList failed;
    core->setSaveFailureHandler([&](const FileError &error) { failed.append(error.path); });
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Log.data"))); // stands in the way of the file
    monitor.startFakeCall();
    tick();
    monitor.endFakeCall();
    EXPECT_EQ(failed, QStringList { file(QStringLiteral("Log.data")) });
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("settings.data"))));
    EXPECT_EQ(core->log().Count, 1);

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Log.data")));
    monitor.startFakeCall();
    tick();
    monitor.endFakeCall();
    const QByteArray log = read(QStringLiteral("Log.data"));
    ASSERT_EQ(log.size(), 524288);
    EXPECT_EQ(log.at(12), 1) << "the first call reached the disk with the second";
    EXPECT_EQ(log.at(32 + 12), 1);
    EXPECT_EQ(failed.size(), 1);
}

TEST_F(CallMonitorTest, AFailedArchiveKeepsItsCallsInMemory)
{
    QStringList failed;
    core->setSaveFailureHandler([&](const FileError &error) { failed.append(error.path); });
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Log.archive.data")));
    fillLog(core->log(), kMaxLogRecords);
    const QByteArray oldest(reinterpret_cast<const char *>(core->log().records), 1024 * 32);
    monitor.startFakeCall();
    monitor.endFakeCall();
    EXPECT_EQ(failed, QStringList { file(QStringLiteral("Log.archive.data")) });

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Log.archive.data")));
    core->SaveLogData();
    EXPECT_EQ(read(QStringLiteral("Log.archive.data")), oldest);
}

// The oldest calls leave a full log only with the log file: while Log.data
// cannot be written they stay in it and the archive does not take them.
TEST_F(CallMonitorTest, TheArchiveTakesCallsOnlyTogetherWithTheLog)
{
    fillLog(core->log(), kMaxLogRecords);
    const QByteArray oldest(reinterpret_cast<const char *>(core->log().records), 1024 * 32);
    core->saveEverything();
    const QByteArray logBefore = read(QStringLiteral("Log.data"));
    ASSERT_TRUE(QFile::remove(file(QStringLiteral("Log.data"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Log.data")));
    monitor.startFakeCall();
    tick();
    monitor.endFakeCall();
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Log.archive.data")))) << "archived while the log kept them";
    EXPECT_EQ(read(QStringLiteral("settings.data")).contains("Log.NumberOfRecords=16384"), true)
        << "the settings count what Log.data holds";

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Log.data")));
    core->saveEverything();
    EXPECT_EQ(read(QStringLiteral("Log.archive.data")), oldest);
    const QByteArray log = read(QStringLiteral("Log.data"));
    EXPECT_EQ(log.left(32), logBefore.mid(1024 * 32, 32)) << "the log starts after the archived calls";
    EXPECT_TRUE(read(QStringLiteral("settings.data")).contains("Log.NumberOfRecords=15361"));
}

// A call the log file could not take is in no other file either: the
// tariff's totals and the settings' count leave it out until it is written.
TEST_F(CallMonitorTest, ACallLogDataCannotTakeIsCountedNowhere)
{
    setTariffs({ rate(2, 1, 100) }); // 0.01 a second
    core->saveEverything();
    ASSERT_TRUE(QFile::remove(file(QStringLiteral("Log.data"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Log.data")));
    core->tariffs().records[0].Name.setText(QStringLiteral("Evening")); // an edit not to lose with the call
    monitor.startFakeCall();
    tick(4);
    monitor.endFakeCall();
    ASSERT_EQ(core->log().Count, 1);
    const QList<FileError> failures = core->saveForExit();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0].path, file(QStringLiteral("Log.data")));

    const QByteArray tariffs = read(QStringLiteral("Tariffs.data"));
    Tariff stored {};
    std::memcpy(&stored, tariffs.constData(), sizeof stored);
    EXPECT_EQ(stored.CallCount, 0);
    EXPECT_EQ(stored.TotalSeconds, 0u);
    EXPECT_EQ(stored.TotalCost, 0);
    EXPECT_EQ(stored.Name.text(), QStringLiteral("Evening")) << "the edit is kept";
    EXPECT_TRUE(read(QStringLiteral("settings.data")).contains("Log.NumberOfRecords=0"));
    const CallRecord logged = core->log().records[0];
    ASSERT_GT(logged.Cost, 0);
    const UnsavedWork lost = core->unsavedWork();
    ASSERT_EQ(lost.calls.size(), 1);
    EXPECT_EQ(lost.calls[0].DurationSeconds, logged.DurationSeconds);
    EXPECT_FALSE(lost.tariffs);

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("Log.data")));
    EXPECT_TRUE(core->saveForExit().isEmpty());
    std::memcpy(&stored, read(QStringLiteral("Tariffs.data")).constData(), sizeof stored);
    EXPECT_EQ(stored.CallCount, 1);
    EXPECT_EQ(stored.TotalSeconds, logged.DurationSeconds);
    EXPECT_EQ(stored.TotalCost, std::int64_t(logged.DurationSeconds) * 100);
    EXPECT_TRUE(read(QStringLiteral("settings.data")).contains("Log.NumberOfRecords=1"));
    EXPECT_FALSE(core->unsavedWork().any());
}
