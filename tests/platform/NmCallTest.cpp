#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "core/connection/Dialler.h"
#include "platform/networkmanager/NmDialUpService.h"
#include "tools/dial/DialTool.h"

#include "core/tariffs/TariffTestData.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"
#include "support/NmMock.h"

#include <QDBusObjectPath>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

// The call monitor and the dialling on a mock NetworkManager that behaves as
// the real daemon does when it restarts, starts late, answers slowly,
// refuses, or sends messages that do not fit what it says when asked.
namespace {

const QString kManager = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");

// 0.02 a second, 0.05 for each call.
constexpr std::int64_t kPerSecond = 200;
constexpr std::int64_t kPerCall = 500;

class NmCallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mock.error().isEmpty()) << mock.error().toStdString();
        core->loadAll();
        tariffdata::fill(core->tariffs(), { tariffdata::rate(2, 1, kPerSecond, kPerCall) });
    }

    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }

    void startProgram(const QStringList &knownProviders = {})
    {
        service = std::make_unique<NmDialUpService>(mock.bus());
        monitor = std::make_unique<CallMonitor>(monitorParts(*core), *service, clock);
        for (const QString &name : knownProviders)
            monitor->registry().ProviderDBadd(name);
        QObject::connect(monitor.get(), &CallMonitor::secondLineUp,
            [this](const QString &, const QString &other) { secondLines.append(other); });
        dialler = std::make_unique<Dialler>(core->currentCall(), *monitor, *service);
        QObject::connect(dialler.get(), &Dialler::errorReported, [this](const QString &text) { errors.append(text); });
        service->waitUntilReady(2000);
        monitor->startUp();
    }

    static void pass(int ms)
    {
        NmMock::waitUntil([] { return false; }, ms);
    }

    // A second later the timer fires, NetworkManager's answers so far being in.
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            pass(40);
            clock.advanceSeconds(1);
            monitor->tick();
        }
    }
    // Ticks until `done`, at most `limit` times; the number of ticks, or -1.
    int tickUntil(const std::function<bool()> &done, int limit = 40)
    {
        for (int ticks = 1; ticks <= limit; ++ticks) {
            pass(200);
            tick();
            if (done())
                return ticks;
        }
        return -1;
    }

    const CurrentCall &call() const { return core->currentCall(); }
    int loggedCalls() const { return core->log().Count; }
    const CallRecord &logged(int index) const { return core->log().records[index]; }
    QString providerName(int index) const { return core->providers().records[index].Name.text(); }
    int providerIndex(const QString &name) const
    {
        for (int i = 0; i < core->providers().Count; ++i)
            if (providerName(i) == name)
                return i;
        return -1;
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService unused;
    std::unique_ptr<AppCore> core
        = std::make_unique<AppCore>(file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, unused });
    NmMock mock;
    std::unique_ptr<NmDialUpService> service;
    std::unique_ptr<CallMonitor> monitor;
    std::unique_ptr<Dialler> dialler;
    QStringList errors;
    QStringList secondLines;
};

TEST_F(NmCallTest, ARestartWhoseObjectsComeLateIsReadAgainUntilItAnswers)
{
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    startProgram();
    ASSERT_TRUE(service->entryDialParams("Mobile").has_value());

    mock.kill();
    ASSERT_TRUE(mock.startNameOnly());
    // Every read meanwhile fails: the objects do not exist yet.
    pass(1500);
    EXPECT_NE(service->entryDialParams("Mobile").error(), nm::kErrorNotRunning) << "its name has an owner";
    mock.publishObjects();
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("a"));
    EXPECT_GT(tickUntil([&] { return call().Connected; }), 0);
    EXPECT_TRUE(service->entryDialParams("Mobile").has_value()) << "dialling works again";
}

TEST_F(NmCallTest, ACallAfterNetworkManagerStartsLaterIsBookedToItsOwnProvider)
{
    mock.kill();
    startProgram({ QStringLiteral("Phone Hotspot"), QStringLiteral("Mobile") });
    tick(3);
    EXPECT_EQ(monitor->display().statusText, QStringLiteral("Failure in connections."));
    EXPECT_EQ(service->entryDialParams("Mobile").error(), nm::kErrorNotRunning);

    ASSERT_TRUE(mock.start());
    const QString wlan = mock.addDevice(QStringLiteral("wlan0"), 30);
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    const QString hotspot = mock.addConnection(QStringLiteral("Phone Hotspot"), QStringLiteral("802-11-wireless"),
        { { QStringLiteral("connection.metered"), 1 } });
    const QString active = mock.activate(hotspot, wlan, 2, QStringLiteral("h"));
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    tick(3);
    mock.removeActive(wlan, active);
    ASSERT_GT(tickUntil([&] { return !call().Connected; }), 0);

    ASSERT_EQ(loggedCalls(), 1);
    EXPECT_EQ(logged(0).ProviderIndex, providerIndex(QStringLiteral("Phone Hotspot")));
    EXPECT_EQ(core->providers().records[providerIndex(QStringLiteral("Phone Hotspot"))].TodayCalls, 1u);
    EXPECT_TRUE(service->entryDialParams("Mobile").has_value());
}

TEST_F(NmCallTest, ANetworkManagerSilentAtStartIsReadOnceItSpeaks)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("a"));
    mock.pause(true);
    startProgram();
    // Longer than any one read may take.
    pass(4000);
    tick();
    EXPECT_FALSE(call().Connected);
    mock.pause(false);
    EXPECT_GT(tickUntil([&] { return call().Connected; }), 0);
    EXPECT_EQ(service->enumEntries().value(), std::vector<std::string> { "Mobile" });
}

TEST_F(NmCallTest, ASecondLineDuringACallNeitherTakesItOverNorEndsIt)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    const QString dsl = mock.addDevice(QStringLiteral("eth1"), 30);
    const QString mobileLine = mock.activate(
        mock.addConnection(QStringLiteral("Mobile GSM"), QStringLiteral("gsm")), modem, 2, QStringLiteral("m"));
    const QString dslConnection = mock.addConnection(QStringLiteral("DSL PPPoE"), QStringLiteral("pppoe"));
    startProgram();
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    tick(4);

    // NetworkManager may list the newcomer first.
    const QString dslLine = mock.activate(dslConnection, dsl, 1, QStringLiteral("d"));
    mock.setRawProperty(kManager, kManagerInterface, QStringLiteral("ActiveConnections"),
        QVariant::fromValue(QList<QDBusObjectPath> { QDBusObjectPath(dslLine), QDBusObjectPath(mobileLine) }));
    tick(5);
    mock.setActiveState(dslLine, 2);
    tick(5);
    EXPECT_EQ(secondLines, QStringList { QStringLiteral("DSL PPPoE") }) << "said once";
    EXPECT_EQ(monitor->display().selectedEntry, QStringLiteral("Mobile GSM"));

    mock.removeActive(modem, mobileLine);
    ASSERT_GT(tickUntil([&] { return loggedCalls() == 1; }), 0);
    EXPECT_EQ(logged(0).ProviderIndex, providerIndex(QStringLiteral("Mobile GSM")));
    EXPECT_NEAR(double(logged(0).DurationSeconds), 15.0, 1.0);
    EXPECT_EQ(logged(0).Cost, kPerCall + kPerSecond * logged(0).DurationSeconds);
}

// A hang-up is over when NetworkManager takes the line down: until then, and
// if it refuses, the call goes on being costed as one call.
TEST_F(NmCallTest, AHangUpRefusedOrAnsweredLateKeepsCostingOneCall)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    const QString mobile = mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    const QString first = mock.activate(mobile, modem, 2, QStringLiteral("a"));
    startProgram();
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    tick(2);

    mock.refuseByPolicy(QStringLiteral("DeactivateConnection"));
    dialler->ButtonDialClick();
    ASSERT_TRUE(NmMock::waitUntil([&] { return !errors.isEmpty(); }));
    EXPECT_EQ(
        errors.constFirst(), QStringLiteral("You are not allowed to connect or disconnect through NetworkManager."));
    tick(5);
    EXPECT_TRUE(call().Connected);
    EXPECT_EQ(loggedCalls(), 0);
    mock.removeActive(modem, first);
    ASSERT_GT(tickUntil([&] { return !call().Connected; }), 0);
    ASSERT_EQ(loggedCalls(), 1);
    EXPECT_NEAR(double(logged(0).DurationSeconds), 9.0, 1.0);
    EXPECT_EQ(logged(0).Cost, kPerCall + kPerSecond * logged(0).DurationSeconds);

    // Answered after four seconds: costed until the line is down.
    mock.activate(mobile, modem, 2, QStringLiteral("b"));
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    mock.answerSlowly(QStringLiteral("DeactivateConnection"), 4);
    dialler->ButtonDialClick();
    const int ticks = tickUntil([&] { return !call().Connected; });
    EXPECT_GE(ticks, 3) << "not ended at the click";
    ASSERT_EQ(loggedCalls(), 2);
    EXPECT_EQ(logged(1).Cost, kPerCall + kPerSecond * logged(1).DurationSeconds);
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(NmCallTest, ARestartDuringACallIsOneCallWhenTheLineIsStillUp)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("a"));
    startProgram();
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    tick(4);
    mock.kill();
    tick(3);
    EXPECT_TRUE(call().Connected) << "held while it is away";

    // Back with the line still up on the same device (as new objects).
    ASSERT_TRUE(mock.start());
    const QString again = mock.addDevice(QStringLiteral("ttyUSB0"), 100);
    const QString line = mock.activate(
        mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), again, 2, QStringLiteral("z"));
    const int back
        = tickUntil([&] { return monitor->display().statusText != QStringLiteral("Failure in connections."); });
    ASSERT_GT(back, 0);
    tick(2);
    mock.removeActive(again, line);
    const int down = tickUntil([&] { return !call().Connected; });
    ASSERT_GT(down, 0);

    ASSERT_EQ(loggedCalls(), 1) << "one call, not two";
    // Every second from the first tick to the one before the drop was seen.
    EXPECT_EQ(logged(0).DurationSeconds, std::uint32_t(1 + 4 + 3 + back + 2 + down - 1));
    EXPECT_EQ(logged(0).Cost, kPerCall + kPerSecond * logged(0).DurationSeconds);
}

TEST_F(NmCallTest, ARestartWithoutTheLineEndsTheCallWhenNetworkManagerLeft)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("a"));
    startProgram();
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    const QDateTime start = clock.now();
    tick(4);
    mock.kill();
    tick(6);
    ASSERT_TRUE(mock.start());
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    ASSERT_GT(tickUntil([&] { return !call().Connected; }), 0);
    ASSERT_EQ(loggedCalls(), 1);
    EXPECT_EQ(logged(0).DurationSeconds, 5u);
    EXPECT_EQ(logged(0).Cost, kPerCall + 5 * kPerSecond);
    const QTime end(logged(0).EndHour, logged(0).EndMinute, logged(0).EndSecond);
    EXPECT_EQ(end, start.time().addSecs(5)) << "ended when it left";
}

// Messages that do not fit what NetworkManager says when asked change
// nothing; the call runs on as one.
TEST_F(NmCallTest, OddOrContradictoryMessagesNeitherSplitNorEndACall)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 100);
    const QString mobile = mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    const QString line = mock.activate(mobile, modem, 2, QStringLiteral("a"));
    startProgram();
    ASSERT_GT(tickUntil([&] { return call().Connected; }), 0);
    struct Odd {
        const char *name;
        std::function<void()> send;
    };
    const std::vector<Odd> odd = {
        { "Connection as a string",
            [&] {
                mock.sendPropertiesChanged(line, kActiveInterface, { { QStringLiteral("Connection"), mobile } });
            } },
        { "ActiveConnections as strings",
            [&] {
                mock.sendPropertiesChanged(
                    kManager, kManagerInterface, { { QStringLiteral("ActiveConnections"), QStringList { line } } });
            } },
        { "deactivated while it stays activated",
            [&] {
                mock.sendStateChanged(line, kActiveInterface, { 4U, 2U });
            } },
        { "failed while the device stays activated",
            [&] {
                mock.sendStateChanged(modem, kDeviceInterface, { 120U, 100U, 36U });
            } },
        { "a read with Connection as a string",
            [&] { mock.setRawProperty(line, kActiveInterface, QStringLiteral("Connection"), mobile); } },
    };
    for (const Odd &message : odd) {
        SCOPED_TRACE(message.name);
        message.send();
        tick(3);
        EXPECT_TRUE(call().Connected);
        EXPECT_EQ(loggedCalls(), 0);
    }
    mock.setRawProperty(
        line, kActiveInterface, QStringLiteral("Connection"), QVariant::fromValue(QDBusObjectPath(mobile)));
    tick(3);
    mock.removeActive(modem, line);
    ASSERT_GT(tickUntil([&] { return !call().Connected; }), 0);
    ASSERT_EQ(loggedCalls(), 1);
    EXPECT_GE(logged(0).DurationSeconds, 18u);
}

TEST_F(NmCallTest, ACancelledDialAnsweredLateIsTakenDownWhenTheAnswerComes)
{
    mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    startProgram();
    tick();
    mock.answerSlowly(QStringLiteral("ActivateConnection"), 4);
    monitor->setSelectedEntry(QStringLiteral("Mobile"));
    dialler->DialEntry();
    pass(300);
    dialler->cancelDial();
    // The answer, and the deactivation it calls for.
    pass(5000);
    EXPECT_EQ(
        tickUntil(
            [&] { return service->enumConnections().value_or(std::vector<dialup::ActiveConnection> { {} }).empty(); },
            10)
            > 0,
        true);
    tick(3);
    EXPECT_FALSE(call().Connected);
    EXPECT_EQ(loggedCalls(), 0);
}

// NetworkManager's reasons reach the user whole and in words, never as the
// bus's own messages.
TEST_F(NmCallTest, RefusalsAreToldWholeInWords)
{
    mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    startProgram();
    tick();
    QStringList lines;
    QObject::connect(dialler.get(), &Dialler::progressLine, [&](const QString &line) { lines.append(line); });
    const QString reason = QStringLiteral(
        "No suitable device found for this connection (device ttyUSB0 not available because profile is not "
        "compatible with device (mismatching interface name)).");
    struct Case {
        const char *name;
        std::function<void()> refuse;
        QString line;
    };
    const std::vector<Case> cases = {
        { "its own reason",
            [&] {
                mock.refuse(QStringLiteral("ActivateConnection"),
                    QStringLiteral("org.freedesktop.NetworkManager.UnknownConnection"), reason);
            },
            QStringLiteral(">NetworkManager refused the request: ") + reason },
        { "the bus's policy", [&] { mock.refuseByPolicy(QStringLiteral("ActivateConnection")); },
            QStringLiteral(">You are not allowed to connect or disconnect through NetworkManager.") },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.refuse();
        monitor->setSelectedEntry(QStringLiteral("Mobile"));
        dialler->DialEntry();
        ASSERT_TRUE(NmMock::waitUntil([&] { return !lines.isEmpty(); }));
        EXPECT_EQ(lines.last(), c.line);
        dialler->cancelDial();
        pass(300);
        lines.clear();
    }
}

TEST_F(NmCallTest, TheDiallerToolSaysWhenNetworkManagerCannotBeReached)
{
    mock.kill();
    startProgram();
    for (const QStringList &arguments : { QStringList {}, QStringList { QStringLiteral("/list") },
             QStringList { QStringLiteral("Mobile"), QStringLiteral("/disconnect") } }) {
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        DialTool tool(*service, outStream, errStream);
        EXPECT_EQ(tool.run(DialArguments::parse(arguments).value()), DialTool::kServiceUnreachable);
        EXPECT_TRUE(out.isEmpty()) << out.toStdString();
        EXPECT_EQ(err, QStringLiteral("The dial-up service cannot be reached: NetworkManager is not running.\n"));
    }
}

// The tool says a line is hung up once it is down, not once the request is
// taken on; a line that stays up or a refusal is never reported as hung up.
TEST_F(NmCallTest, TheDiallerToolSaysHungUpOnlyOnceTheLineIsDown)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    const QString mobile = mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    enum class Daemon { DropsLater, NeverDrops, Refuses };
    const struct {
        Daemon daemon;
        int status;
        QString out;
        QString err;
    } cases[] = {
        { Daemon::DropsLater, 0, QStringLiteral("Hung up Mobile.\n"), {} },
        { Daemon::NeverDrops, DialTool::kStillUp, {},
            QStringLiteral("Asked to hang up Mobile, but it was not seen to go down within 1 second.\n") },
        { Daemon::Refuses, -1, {},
            QStringLiteral("You are not allowed to connect or disconnect through NetworkManager.") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.daemon));
        const QString line = mock.activate(mobile, modem, 2, QStringLiteral("l%1").arg(int(c.daemon)));
        if (c.daemon == Daemon::Refuses)
            mock.refuseByPolicy(QStringLiteral("DeactivateConnection"));
        else
            mock.takeHangUpsOnly();
        // A tool is a program of its own, with its own view of NetworkManager.
        NmDialUpService toolService(mock.bus());
        ASSERT_TRUE(toolService.waitUntilReady(2000));
        ASSERT_TRUE(NmMock::waitUntil([&] {
            const auto lines = toolService.enumConnections();
            return lines && lines->size() == 1;
        }));
        bool dropped = false;
        if (c.daemon == Daemon::DropsLater)
            QTimer::singleShot(300, [&] {
                mock.removeActive(modem, line);
                dropped = true;
            });
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        DialTool tool(toolService, outStream, errStream);
        tool.setHangUpWait(1000);
        const int status
            = tool.run(DialArguments::parse({ QStringLiteral("Mobile"), QStringLiteral("/disconnect") }).value());
        EXPECT_EQ(out, c.out);
        if (c.status >= 0) {
            EXPECT_EQ(status, c.status);
            EXPECT_EQ(err, c.err);
        } else {
            EXPECT_NE(status, 0);
            EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
        }
        if (c.daemon == Daemon::DropsLater)
            EXPECT_TRUE(dropped) << "told before the line was down";
        else
            mock.removeActive(modem, line);
        NmMock::waitUntil([&] { return dropped; }, 400);
    }
}

} // namespace
