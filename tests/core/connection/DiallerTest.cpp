#include "CallMonitorTestFixture.h"

#include "core/connection/CallLogging.h"
#include "core/connection/Dialler.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

using namespace tariffdata;

namespace {

// A dialler on the monitor fixture that records everything it tells the window.
class DiallerTest : public CallMonitorTest {
protected:
    DiallerTest()
    {
        QObject::connect(&dialler, &Dialler::progressStarted, [this](const QString &entry) {
            shown.append(entry);
            lines.clear();
        });
        QObject::connect(&dialler, &Dialler::progressLine, [this](const QString &line) { lines.append(line); });
        QObject::connect(&dialler, &Dialler::progressEnded, [this] { ++hidden; });
        QObject::connect(&dialler, &Dialler::errorReported, [this](const QString &text) { errors.append(text); });
        QObject::connect(&monitor, &CallMonitor::displayChanged, [this] {
            seen.append({ display().statusText, display().statusHint, display().title, display().selectedEntry });
        });
        dialUp.storedParams["DemoEntry"] = { "alice", "s3cret", true };
        tick();
        core->providers().Current = 0;
        monitor.UpdateProviderDisplay();
    }

    void report(std::uint32_t state, dialup::ErrorCode error = 0)
    {
        ASSERT_TRUE(dialUp.notifier);
        dialUp.notifier(state, error);
    }
    // The fake's connection also moves on, as the monitor would poll it.
    void connectDial(std::uint32_t state)
    {
        dialUp.setState(dialUp.connections.back().connection.handle, state);
        report(state);
    }
    // The dial button in hang-up mode, or the progress window's cancel.
    void hangUpAndWait(bool cancel = false)
    {
        if (cancel)
            dialler.cancelDial();
        else
            dialler.ButtonDialClick();
        waitForHangUp();
    }
    void waitForHangUp()
    {
        if (!dialler.hangingUp())
            return;
        QEventLoop loop;
        QObject::connect(&dialler, &Dialler::hangUpFinished, &loop, &QEventLoop::quit);
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
    }

    Dialler dialler { core->currentCall(), monitor, dialUp };
    QStringList shown;
    QStringList lines;
    QStringList errors;
    QStringList seen;
    int hidden = 0;
};

} // namespace

TEST_F(DiallerTest, TheDialButtonFollowsItsMode)
{
    struct Case {
        const char *name;
        bool firstTickDone;
        bool lineUp;
        std::size_t dials;
        std::size_t hangUps;
    };
    const Case cases[] = {
        { "before the first tick", false, false, 0, 0 },
        { "no line", true, false, 1, 0 },
        { "a line up", true, true, 0, 1 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FakeDialUpService service;
        service.entries = { "DemoEntry" };
        auto own = std::make_unique<AppCore>(
            file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, service });
        own->loadAll();
        CallMonitor ownMonitor(monitorParts(*own), service, clock);
        ownMonitor.startUp();
        if (c.lineUp)
            service.connect("DemoEntry");
        if (c.firstTickDone)
            ownMonitor.tick();
        Dialler ownDialler(own->currentCall(), ownMonitor, service);
        ownDialler.ButtonDialClick();
        EXPECT_EQ(service.dials.size(), c.dials);
        EXPECT_EQ(service.hangUps.size(), c.hangUps);
    }
}

TEST_F(DiallerTest, DialsWithTheStoredCredentials)
{
    struct Case {
        dialup::DialParams stored;
        const char *password;
    };
    const Case cases[] = {
        { { "alice", "s3cret", true }, "s3cret" },
        { { "bob", "leftover", false }, "" },
    };
    for (const Case &c : cases) {
        dialUp.storedParams["DemoEntry"] = c.stored;
        dialUp.dials.clear();
        dialler.DialEntry();
        ASSERT_EQ(dialUp.dials.size(), 1u);
        EXPECT_EQ(dialUp.dials[0].entry, "DemoEntry");
        EXPECT_EQ(dialUp.dials[0].userName, c.stored.userName);
        EXPECT_EQ(dialUp.dials[0].password, c.password);
        hangUpAndWait(true);
        dialUp.connections.clear();
    }
}

TEST_F(DiallerTest, ACallDialledHereIsCostedFromDeviceConnectedAndLoggedOnHangUp)
{
    setTariffs({ rate(2, 1, 100) });
    dialler.ButtonDialClick();
    EXPECT_EQ(shown, QStringList { QStringLiteral("DemoEntry") });
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_hot"));
    EXPECT_TRUE(call().DialledHere);

    report(dialup::kOpenPort);
    report(dialup::kConnectDevice);
    EXPECT_EQ(display().statusText, QStringLiteral("Connecting device"));
    EXPECT_FALSE(call().Connected);
    tick();
    EXPECT_EQ(display().statusText, QStringLiteral("Connecting device")) << "the poll leaves our own dial's status";

    connectDial(dialup::kDeviceConnected);
    ASSERT_TRUE(call().Connected);
    EXPECT_TRUE(dialler.progressShown()) << "still logging on";
    connectDial(dialup::kConnected);
    EXPECT_FALSE(dialler.progressShown());
    EXPECT_EQ(provider(0).TotalCalls, 1) << "8192 after 3 begins no second call";
    EXPECT_EQ(lines,
        (QStringList { QStringLiteral("Opening port"), QStringLiteral("Connecting device"),
            QStringLiteral("Device connected"), QStringLiteral("Connected") }));

    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(display().durationText, QStringLiteral("00:00:05"));
    EXPECT_EQ(display().costText, QStringLiteral("£ 0.05"));
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_hangup"));

    hangUpAndWait();
    EXPECT_EQ(dialUp.hangUps.size(), 1u);
    EXPECT_FALSE(call().DialledHere);
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_up"));
    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 5u);
    EXPECT_EQ(display().todaysTime, QStringLiteral("00:00:05"));
    EXPECT_EQ(display().totalNumOfCalls, QStringLiteral("1"));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(DiallerTest, TheDisplayAfterAScriptedCall)
{
    struct Case {
        const char *name;
        std::vector<Tariff> tariffs;
        std::uint32_t priorSeconds; // already to date
        QString caption;
        QString hint;
        QString costAfterTenSeconds;
        QString todateTime;
    };
    Tariff single = rate(1, 2, 30000);
    const Case cases[] = {
        { "per second", { rate(2, 1, 100) }, 0, QStringLiteral("T0 0.60 p.min"), QStringLiteral("T0 £ 0.60 per minute"),
            QStringLiteral("£ 0.10"), QStringLiteral("0000:00:10") },
        { "single charge", { single }, 0, QStringLiteral("T0 3.00 p.call"), QStringLiteral("T0 £ 3.00 per call"),
            QStringLiteral("£ 3.00"), QStringLiteral("0000:00:10") },
        { "no tariffs", {}, 0, QStringLiteral("Please Add Tarifs"), QString(), QStringLiteral("£ 0.00"),
            QStringLiteral("0000:00:10") },
        { "hours above 9999", {}, 10000u * 3600u, QStringLiteral("Please Add Tarifs"), QString(),
            QStringLiteral("£ 0.00"), QStringLiteral("10000:00:10") },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fill(core->tariffs(), {});
        for (const Tariff &t : c.tariffs) {
            TariffTable &table = core->tariffs();
            table.records[table.Count] = t;
            table.records[table.Count].IdNumber = table.Count + 1u;
            table.records[table.Count].Name.setText(QStringLiteral("T%1").arg(table.Count));
            ++table.Count;
        }
        // The log holds the earlier hours, since the totals are rebuilt from it.
        core->log().Count = 0;
        if (c.priorSeconds > 0) {
            FinishedCall earlier;
            earlier.start = clock.now().addDays(-400);
            earlier.end = earlier.start.addSecs(c.priorSeconds);
            earlier.seconds = c.priorSeconds;
            writeCallRecord(core->log().records[0], earlier);
            core->log().Count = 1;
        }
        dialler.ButtonDialClick();
        connectDial(dialup::kConnected);
        tick(); // the call's first second
        EXPECT_EQ(display().rateCaption, c.caption);
        if (!c.hint.isEmpty()) {
            EXPECT_EQ(display().rateHint, c.hint);
        }
        for (int i = 1; i < 10; ++i)
            tick();
        EXPECT_EQ(display().costText, c.costAfterTenSeconds);
        EXPECT_TRUE(display().callLabelsBold);
        hangUpAndWait();
        EXPECT_EQ(display().durationText, QStringLiteral("00:00:00"));
        EXPECT_EQ(display().todaysTime, QStringLiteral("00:00:10"));
        EXPECT_EQ(display().todaysCost, c.costAfterTenSeconds);
        EXPECT_EQ(display().monthsTime, QStringLiteral("0000:00:10"));
        EXPECT_EQ(display().todateTime, c.todateTime);
        EXPECT_EQ(display().todateCost, c.costAfterTenSeconds);
        EXPECT_EQ(display().totalNumOfCalls, c.priorSeconds > 0 ? QStringLiteral("2") : QStringLiteral("1"));
        EXPECT_FALSE(display().callLabelsBold);
        tick();
        EXPECT_EQ(display().rateCaption, c.caption) << "idle: the tariff in force now";
    }
}

TEST_F(DiallerTest, CancellingDuringTheDialHangsUpAndEndsABegunCall)
{
    struct Case {
        const char *name;
        std::uint32_t reached;
        bool costed;
    };
    const Case cases[] = {
        { "before any poll", dialup::kOpenPort, false },
        { "device connected", dialup::kDeviceConnected, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::int32_t logged = core->log().Count;
        dialUp.hangUps.clear();
        dialler.ButtonDialClick();
        const dialup::ConnectionHandle line = dialUp.connections.back().connection.handle;
        connectDial(c.reached);
        EXPECT_EQ(call().Connected, c.costed);
        hangUpAndWait(true);
        EXPECT_EQ(dialUp.hangUps, std::vector<dialup::ConnectionHandle> { line }) << "the dial's own line";
        EXPECT_FALSE(dialler.progressShown());
        EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_up"));
        EXPECT_FALSE(call().Connected);
        EXPECT_EQ(core->log().Count, logged + (c.costed ? 1 : 0));
        EXPECT_TRUE(dialUp.connections.empty());
    }
}

TEST_F(DiallerTest, FailuresShowTheServicesText)
{
    // Dial parameters that cannot be read: no dial, the window waits for a cancel.
    dialUp.failDialParams = 623;
    dialler.ButtonDialClick();
    EXPECT_EQ(errors, QStringList { QStringLiteral("Fake error 623") });
    EXPECT_TRUE(dialUp.dials.empty());
    EXPECT_TRUE(dialler.progressShown());
    hangUpAndWait(true);
    EXPECT_FALSE(dialler.progressShown());
    EXPECT_EQ(errors.size(), 1) << "nothing was up to hang up";
    dialUp.failDialParams.reset();

    // A refused dial: hung up at once, no longer ours.
    errors.clear();
    dialUp.failDial = 676;
    dialler.ButtonDialClick();
    waitForHangUp();
    EXPECT_EQ(errors, QStringList { QStringLiteral("Fake error 676") });
    EXPECT_FALSE(call().DialledHere);
    EXPECT_FALSE(dialler.progressShown());
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_up"));
    dialUp.failDial.reset();

    // A dial that fails on the way: the error line stays until the user cancels.
    errors.clear();
    dialler.ButtonDialClick();
    report(dialup::kConnectDevice, 678);
    EXPECT_EQ(lines.last(), QStringLiteral(">Fake error 678"));
    EXPECT_EQ(display().statusText, QStringLiteral("Not Connected"));
    EXPECT_TRUE(dialler.progressShown());
    EXPECT_FALSE(dialUp.connections.empty());
    EXPECT_TRUE(errors.isEmpty());
    hangUpAndWait(true);
    EXPECT_TRUE(dialUp.connections.empty());

    // The user closes the service's new-entry dialog: nothing to report.
    errors.clear();
    dialUp.failCreateEntry = dialup::kErrorCancelled;
    dialler.ButtonNewConnectionClick(0);
    EXPECT_TRUE(errors.isEmpty());

    // The service cannot make a new entry.
    dialUp.failCreateEntry = 1;
    dialler.ButtonNewConnectionClick(0);
    EXPECT_EQ(errors.last(), QStringLiteral("Dialtally couldn''t create a new Phone Book Entry."));
}

TEST_F(DiallerTest, AFailedHangUpIsReportedAndTheCallStaysCostedUntilTheLineDrops)
{
    dialler.ButtonDialClick();
    const dialup::ConnectionHandle line = dialUp.connections.back().connection.handle;
    connectDial(dialup::kConnected);
    tick();
    dialUp.failHangUp = 19;
    dialler.ButtonDialClick();
    EXPECT_FALSE(dialler.hangingUp()) << "no wait after a failure";
    EXPECT_EQ(errors, QStringList { QStringLiteral("Fake error 19") });
    EXPECT_TRUE(call().Connected);
    EXPECT_EQ(core->log().Count, 0);
    tick();
    EXPECT_EQ(call().CallSeconds, 2u);

    dialUp.drop(line);
    tick();
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 2u);
}

TEST_F(DiallerTest, CredentialsAppearInNoTextShown)
{
    dialUp.storedParams["DemoEntry"] = { "alice", "s3cret", true };
    core->settings().ShowConnectionTimeOnTitle = true;
    dialler.ButtonDialClick();
    report(dialup::kAuthenticate);
    report(dialup::kAuthenticate, 691);
    connectDial(dialup::kConnected);
    tick();
    dialUp.failHangUp = 19;
    dialler.ButtonDialClick();
    dialUp.failHangUp.reset();
    hangUpAndWait();
    const QString everything = (seen + lines + errors + shown).join(QLatin1Char('\n'));
    EXPECT_FALSE(everything.isEmpty());
    EXPECT_FALSE(everything.contains(QStringLiteral("alice")));
    EXPECT_FALSE(everything.contains(QStringLiteral("s3cret")));
}

TEST_F(DiallerTest, OurDialNeverHangsUpAnotherProgramsLine)
{
    struct Case {
        const char *name;
        std::optional<dialup::ErrorCode> failDialParams;
        std::optional<dialup::ErrorCode> failDial;
    };
    const Case cases[] = {
        { "the service refuses the dial", std::nullopt, 676 },
        { "cancelled after unreadable dial parameters", 623, std::nullopt },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dialUp.connections.clear();
        dialUp.hangUps.clear();
        tick();
        const std::int32_t logged = core->log().Count;
        dialUp.failDialParams = c.failDialParams;
        dialUp.failDial = c.failDial;
        // The other program's line comes up while our error is on screen.
        const auto otherComesUp = QObject::connect(&dialler, &Dialler::errorReported, [this] {
            dialUp.connect("Other");
            tick();
        });
        dialler.ButtonDialClick();
        QObject::disconnect(otherComesUp);
        hangUpAndWait(true);
        EXPECT_TRUE(dialUp.hangUps.empty());
        EXPECT_TRUE(call().Connected) << "the other program's call goes on being costed";
        EXPECT_EQ(core->log().Count, logged);
        EXPECT_FALSE(dialler.progressShown());
        EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_hangup"));
        dialUp.failDialParams.reset();
        dialUp.failDial.reset();
        dialUp.connections.clear();
        tick();
    }
}

TEST_F(DiallerTest, HangingUpALineThatHasJustDroppedEndsTheCallQuietly)
{
    dialler.ButtonDialClick();
    const dialup::ConnectionHandle line = dialUp.connections.back().connection.handle;
    connectDial(dialup::kConnected);
    tick();
    dialUp.drop(line);
    dialUp.failHangUp = 6;
    hangUpAndWait();
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(core->log().Count, 1);
    EXPECT_EQ(display().dialButtonImage, QStringLiteral("dial_up"));
}

TEST_F(DiallerTest, AfterOurCallEndsByItselfAnotherProgramsDialShowsItsProgress)
{
    const bool reportedByTheDial[] = { false, true };
    for (const bool reported : reportedByTheDial) {
        SCOPED_TRACE(reported ? "the dial reports the line down" : "the line vanishes from the list");
        dialler.ButtonDialClick();
        const dialup::ConnectionHandle line = dialUp.connections.back().connection.handle;
        connectDial(dialup::kConnected);
        tick();
        if (reported)
            connectDial(dialup::kDisconnected);
        dialUp.drop(line);
        tick();
        ASSERT_FALSE(call().Connected);
        EXPECT_FALSE(call().DialledHere);

        const dialup::ConnectionHandle other = dialUp.connect("Other", dialup::kConnectDevice);
        tick();
        EXPECT_EQ(display().statusText, QStringLiteral("connecting..."));
        dialUp.drop(other);
        tick();
    }
}

TEST_F(DiallerTest, CancellingAfterOurCallDroppedLeavesTheNextProgramsCall)
{
    dialler.ButtonDialClick();
    const dialup::ConnectionHandle line = dialUp.connections.back().connection.handle;
    connectDial(dialup::kDeviceConnected);
    dialUp.drop(line);
    tick();
    ASSERT_TRUE(dialler.progressShown()) << "still logging on when the line went";
    dialUp.connect("Other");
    tick();
    ASSERT_TRUE(call().Connected);
    hangUpAndWait(true);
    EXPECT_EQ(dialUp.hangUps, std::vector<dialup::ConnectionHandle> { line }) << "only our own line";
    EXPECT_TRUE(call().Connected) << "the other program's call goes on";
    EXPECT_EQ(core->log().Count, 1);
    EXPECT_FALSE(dialler.progressShown());
}

// A failed dial stops the window's animation and says why in the window too,
// so it never spins on, empty, until Cancel.
TEST_F(DiallerTest, AFailedDialStopsTheProgressAndSaysWhyInIt)
{
    int stopped = 0;
    QObject::connect(&dialler, &Dialler::progressFailed, [&] { ++stopped; });
    struct Case {
        const char *name;
        std::function<void()> fail;
        QString line;
    };
    const std::vector<Case> cases = {
        { "no dial parameters", [&] { dialUp.failDialParams = 30001; }, QStringLiteral("Fake error 30001") },
        { "fails on the way", [] {}, QStringLiteral(">Fake error 678") },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        stopped = 0;
        c.fail();
        dialler.ButtonDialClick();
        if (!dialUp.failDialParams)
            report(dialup::kConnectDevice, 678);
        EXPECT_EQ(stopped, 1);
        EXPECT_EQ(lines.last(), c.line);
        EXPECT_TRUE(dialler.progressShown()) << "left up until the user cancels";
        hangUpAndWait(true);
        dialUp.failDialParams.reset();
    }
}

TEST_F(DiallerTest, ACallDialledAndHungUpBetweenTicksEndsAtItsStartPlusItsDuration)
{
    // The timer fires at .300 of every second; the line comes up at .100 and
    // the user hangs up at .500, as in a call dialled and ended by hand.
    for (const int ticks : { 1, 16, 10 }) {
        clock.advanceMilliseconds(100);
        dialler.ButtonDialClick();
        connectDial(dialup::kConnected);
        ASSERT_TRUE(call().Connected);
        clock.advanceMilliseconds(200);
        monitor.tick();
        for (int i = 0; i < ticks; ++i)
            tick();
        clock.advanceMilliseconds(200);
        hangUpAndWait();
        ASSERT_FALSE(call().Connected);
        const CallRecord &r = core->log().records[core->log().Count - 1];
        const QDateTime start(
            QDate(2000 + r.StartYear, r.StartMonth, r.StartDay), QTime(r.StartHour, r.StartMinute, r.StartSecond));
        const QDateTime end(QDate(2000 + r.EndYear, r.EndMonth, r.EndDay), QTime(r.EndHour, r.EndMinute, r.EndSecond));
        // The monotonic count stays the measure: a second for the first tick and one for each after.
        EXPECT_EQ(r.DurationSeconds, std::uint32_t(ticks + 1)) << ticks;
        EXPECT_EQ(start.secsTo(end), qint64(r.DurationSeconds)) << ticks;
        // Back to whole seconds for the next call.
        clock.advanceMilliseconds(500);
        monitor.tick();
    }
}
