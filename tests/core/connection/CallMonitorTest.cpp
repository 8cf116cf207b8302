#include "CallMonitorTestFixture.h"

using namespace tariffdata;

TEST_F(CallMonitorTest, IdleTicksShowTheLineFreeAndTheTariffInForce)
{
    EXPECT_EQ(display().dialMode, MonitorDisplay::DialInactive);
    tick();
    EXPECT_EQ(display().statusText, QStringLiteral("Not Connected"));
    EXPECT_EQ(display().dialMode, MonitorDisplay::DialDials);
    EXPECT_EQ(display().dateTimeText, QStringLiteral("10:00:01,  Mon 2 Mar 26"));
    EXPECT_EQ(display().rateCaption, QStringLiteral("Please Add Tarifs"));
    EXPECT_FALSE(call().Connected);

    setTariffs({ tariff(0, 10 * kHour, 1), rate(2, 1, 100) });
    core->tariffs().records[0].UnitCost = 1000;
    tick();
    EXPECT_EQ(display().rateCaption, QStringLiteral("T1 0.60 p.min"));
    EXPECT_EQ(display().rateHint, QStringLiteral("T1 £ 0.60 per minute"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "nothing is saved while idle";
}

TEST_F(CallMonitorTest, AnotherProgramsConnectionIsCostedAndLogged)
{
    setTariffs({ rate(1, 1, 10000, 5000) });
    EXPECT_EQ(core->providers().Current, 1) << "the last provider added is selected";
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    tick();
    ASSERT_TRUE(call().Connected);
    EXPECT_EQ(call().CallSeconds, 1u);
    EXPECT_EQ(call().CallProvider, 0) << "matched by the entry's name";
    EXPECT_EQ(call().RasConnHandle, handle);
    EXPECT_EQ(display().statusText, QStringLiteral("Connected"));
    EXPECT_EQ(display().statusHint, QStringLiteral("Connected"));
    EXPECT_EQ(display().dialMode, MonitorDisplay::DialHangsUp);
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_hangup"));
    EXPECT_TRUE(display().scannerRunning);
    EXPECT_TRUE(display().callLabelsBold);
    EXPECT_EQ(display().durationText, QStringLiteral("00:00:01"));
    EXPECT_EQ(display().costText, QStringLiteral("£ 1.50"));
    EXPECT_EQ(display().selectedEntry, QStringLiteral("DemoEntry"));
    EXPECT_EQ(display().gaugeMax, 60);
    EXPECT_EQ(display().gaugePosition, 1);
    EXPECT_EQ(display().title, QStringLiteral("Dialtally"));

    tick();
    EXPECT_EQ(display().statusText, QStringLiteral("connected"));
    for (int i = 0; i < 63; ++i)
        tick();
    EXPECT_EQ(display().durationText, QStringLiteral("00:01:05"));
    EXPECT_EQ(display().costText, QStringLiteral("£ 2.50"));

    dialUp.drop(handle);
    tick();
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(display().statusText, QStringLiteral("Not Connected"));
    EXPECT_EQ(display().dialMode, MonitorDisplay::DialDials);
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_up"));
    EXPECT_FALSE(display().scannerRunning);
    EXPECT_FALSE(display().callLabelsBold);
    EXPECT_EQ(display().durationText, QStringLiteral("00:00:00"));
    EXPECT_EQ(display().costText, QStringLiteral("£ 0.00"));
    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 65u);
    EXPECT_EQ(core->log().records[0].Cost, 25000);
    EXPECT_EQ(provider(0).TodaySeconds, 65u) << "rebuilt from the log";
    EXPECT_EQ(provider(0).TotalCalls, 1);
}

TEST_F(CallMonitorTest, TheStatusFollowsTheFirstConnectionsState)
{
    const struct {
        const char *what;
        std::uint32_t state;
        dialup::ErrorCode error;
        bool begins;
        const char *firstTick;
        const char *secondTick;
    } cases[] = {
        { "device connected", dialup::kDeviceConnected, 0, true, "Connected", "D.Connected" },
        { "device connected with an error", dialup::kDeviceConnected, 691, false, "connecting...", "connecting..." },
        { "connected", dialup::kConnected, 0, true, "Connected", "connected" },
        { "authenticating", dialup::kAuthenticate, 0, false, "connecting...", "connecting..." },
        { "disconnected", dialup::kDisconnected, 0, false, "disconnected", "disconnected" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto handle = dialUp.connect("DemoEntry", c.state, c.error);
        tick();
        EXPECT_EQ(call().Connected, c.begins);
        EXPECT_EQ(display().statusText, QString::fromLatin1(c.firstTick));
        EXPECT_EQ(display().dialMode, MonitorDisplay::DialHangsUp);
        tick();
        EXPECT_EQ(display().statusText, QString::fromLatin1(c.secondTick));
        EXPECT_EQ(display().statusHint, QString::fromLatin1(c.secondTick));
        if (!c.begins && c.state != dialup::kDisconnected) {
            EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_hot")) << "from the second connecting tick";
        }
        dialUp.drop(handle);
        tick();
        EXPECT_FALSE(call().Connected);
    }
}

TEST_F(CallMonitorTest, AFailedStatusQueryCountsAsStillConnecting)
{
    dialUp.connect("DemoEntry", dialup::kConnected);
    dialUp.failStatus = 6;
    tick();
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(display().statusText, QStringLiteral("connecting..."));
}

TEST_F(CallMonitorTest, ADisconnectedStateEndsTheCall)
{
    const auto handle = dialUp.connect("DemoEntry");
    tick();
    tick();
    dialUp.setState(handle, dialup::kDisconnected);
    tick();
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(display().statusText, QStringLiteral("Not Connected"));
    EXPECT_EQ(display().dialMode, MonitorDisplay::DialHangsUp) << "the connection is still listed";
    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 2u);
}

TEST_F(CallMonitorTest, AnEnumerationErrorDuringACallKeepsCosting)
{
    setTariffs({ rate(2, 1, 100) });
    dialUp.connect("DemoEntry");
    tick();
    dialUp.failEnumConnections = 603;
    tick();
    tick();
    EXPECT_EQ(display().statusText, QStringLiteral("Failure in connections."));
    EXPECT_TRUE(call().Connected);
    EXPECT_EQ(call().CallSeconds, 3u);
    EXPECT_EQ(call().CallCost, 300);
    EXPECT_EQ(display().dialMode, MonitorDisplay::DialHangsUp);
    EXPECT_EQ(display().statusHint, QStringLiteral("Connected")) << "the hint stays";
}

TEST_F(CallMonitorTest, LateTicksCostEverySecondThatPassed)
{
    setTariffs({ rate(2, 1, 100) });
    dialUp.connect("DemoEntry");
    tick();
    tick(5); // the event loop was held up
    EXPECT_EQ(call().CallSeconds, 6u);
    EXPECT_EQ(call().CallCost, 600);
    EXPECT_EQ(display().durationText, QStringLiteral("00:00:06"));

    // A timer that fires a little early or late still counts one second a tick.
    for (const int ms : { 950, 1040, 990, 1020 }) {
        clock.advanceMilliseconds(ms);
        monitor.tick();
    }
    EXPECT_EQ(call().CallSeconds, 10u);

    // The wall clock is not what counts: the user may set it back.
    clock.setWallClock(clock.now().addSecs(-3600));
    tick();
    EXPECT_EQ(call().CallSeconds, 11u);
}

TEST_F(CallMonitorTest, AnEntryNewToThePhonebookBecomesTheCallsProvider)
{
    dialUp.entries.push_back("Newcomer");
    dialUp.connect("Newcomer");
    tick();
    ASSERT_EQ(core->providers().Count, 3);
    EXPECT_EQ(call().CallProvider, 2);
    EXPECT_EQ(display().selectedEntry, QStringLiteral("Newcomer"));
}

TEST_F(CallMonitorTest, TheTitleShowsTheCallWhenAskedTo)
{
    setTariffs({ rate(1, 1, 10000, 5000) });
    core->settings().ShowConnectionTimeOnTitle = true;
    provider(0).Name.setText(QStringLiteral(" DemoEntry "));
    dialUp.entries = {};
    dialUp.connect(" DemoEntry ");
    tick();
    EXPECT_EQ(display().title, QStringLiteral("00:00:01 £ 1.50 - DemoEntry"));
    dialUp.connections.clear();
    tick();
    EXPECT_EQ(display().title, QStringLiteral("00:00:01 £ 1.50 - DemoEntry")) << "kept after the call";
}

TEST_F(CallMonitorTest, AnotherProgramsCallShowsConnectedOnceCosted)
{
    const auto handle = dialUp.connect("DemoEntry", dialup::kDeviceConnected);
    tick();
    ASSERT_TRUE(call().Connected);
    // The line goes on logging on, then is fully connected.
    const std::uint32_t states[]
        = { dialup::kAuthenticate, dialup::kAuthenticate, dialup::kConnected, dialup::kConnected };
    for (const std::uint32_t state : states) {
        dialUp.setState(handle, state);
        tick();
        EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_hangup"));
        EXPECT_NE(display().statusText, QStringLiteral("connecting..."));
    }
    EXPECT_EQ(display().statusText, QStringLiteral("connected"));
}

TEST_F(CallMonitorTest, AConnectionOfAnUnknownEntryIsBookedToAProviderOfItsName)
{
    struct Case {
        const char *name;
        std::vector<std::string> entries;
        std::uint8_t index;
    };
    const Case cases[] = {
        { "a table of other providers", { "DemoEntry", "Other" }, 2 },
        { "an empty table", {}, 0 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir folder;
        FakeDialUpService service;
        service.entries = c.entries;
        AppCore own(
            QDir(folder.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, service });
        own.loadAll();
        CallMonitor ownMonitor(monitorParts(own), service, clock);
        ownMonitor.startUp();
        const auto handle = service.connect("Stranger");
        tick();
        ownMonitor.tick();
        service.drop(handle);
        clock.advanceSeconds(1);
        ownMonitor.tick();
        ASSERT_EQ(own.log().Count, 1);
        EXPECT_EQ(own.log().records[0].ProviderIndex, c.index);
        ASSERT_EQ(own.providers().Count, c.index + 1);
        EXPECT_EQ(own.providers().records[c.index].Name.text(), QStringLiteral("Stranger"));
        EXPECT_EQ(own.providers().records[c.index].TotalCalls, 1u);
    }
}

TEST_F(CallMonitorTest, TodayRestartsWhenTheDayChanges)
{
    // Ten seconds late in the evening on DemoEntry.
    clock.setWallClock(QDateTime(QDate(2026, 3, 2), QTime(23, 59, 30)));
    const auto evening = dialUp.connect("DemoEntry");
    tick(10);
    tick(9);
    dialUp.drop(evening);
    tick();
    ASSERT_EQ(provider(0).TodaySeconds, 10u);
    const auto savedToday = [this] {
        AppCore reread(file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
        reread.loadAll();
        return reread.providers().records[0].TodaySeconds;
    };

    // Saved just after midnight, before the next tick.
    clock.setWallClock(QDateTime(QDate(2026, 3, 3), QTime(0, 0, 0)));
    core->SaveAppData();
    EXPECT_EQ(savedToday(), 0u);

    tick();
    EXPECT_EQ(display().todaysTime, QStringLiteral("00:00:00"));
    const auto line = dialUp.connect("DemoEntry");
    tick(3);
    tick();
    EXPECT_EQ(display().todaysTime, QStringLiteral("00:00:02"));
    dialUp.drop(line);
    tick();
    EXPECT_EQ(savedToday(), 2u);
    EXPECT_EQ(provider(0).TodayCalls, 1u);
}

// Names longer than a record holds: each entry keeps a record of its own and
// is shown, and so dialled, by its whole name, also after a restart.
TEST_F(CallMonitorTest, ACutNameStillNamesItsOwnPhonebookEntry)
{
    const std::string shared(64, 'L');
    dialUp.entries = { "DemoEntry", "Other", shared + " north", shared + " south" };
    monitor.UpdateProviderDisplay();
    ASSERT_EQ(core->providers().Count, 4) << "two entries alike in their first 64 characters";
    EXPECT_NE(provider(2).Name.text(), provider(3).Name.text());
    core->saveEverything();

    core->loadAll();
    CallMonitor restarted(monitorParts(*core), dialUp, clock);
    restarted.startUp();
    EXPECT_EQ(core->providers().Count, 4) << "no record added for a known entry";
    for (const int index : { 2, 3 }) {
        core->providers().Current = std::uint16_t(index);
        restarted.UpdateProviderDisplay();
        EXPECT_EQ(restarted.display().selectedEntry.toStdString(), dialUp.entries[std::size_t(index)]);
    }
    dialUp.connect(shared + " north");
    clock.advanceSeconds(1);
    restarted.tick();
    EXPECT_EQ(call().CallProvider, 2);
}
