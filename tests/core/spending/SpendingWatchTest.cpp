#include "core/connection/CallMonitorTestFixture.h"

#include "core/connection/Dialler.h"
#include "core/spending/SpendingWatch.h"

#include <QEventLoop>
#include <QTimer>

using namespace tariffdata;

namespace {

// The monitor fixture with the spending watch run after every tick, and a
// per-minute tariff of 0.10 with a 0.05 minimum charge.
class SpendingWatchTest : public CallMonitorTest {
protected:
    SpendingWatchTest()
    {
        setTariffs({ rate(1, 1, 1000, 500) });
        watch(spending, warnings);
        dialUp.storedParams["DemoEntry"] = { "alice", "s3cret", true };
    }

    static void watch(SpendingWatch &w, QStringList &into)
    {
        QObject::connect(&w, &SpendingWatch::warningDue, [&into](const QString &text) { into.append(text); });
    }
    void run(int seconds)
    {
        for (int i = 0; i < seconds && !dialler.hangingUp(); ++i) {
            tick();
            spending.update();
        }
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
    void dialHere()
    {
        tick();
        core->providers().Current = 0;
        monitor.UpdateProviderDisplay();
        dialler.ButtonDialClick();
        dialUp.setState(dialUp.connections.back().connection.handle, dialup::kConnected);
        dialUp.notifier(dialup::kConnected, 0);
    }

    SpendingWatch spending { *core, clock };
    Dialler dialler { core->currentCall(), monitor, dialUp };
    QStringList warnings;
};

} // namespace

TEST_F(SpendingWatchTest, EachWarningShowsOncePerCycleEvenAcrossARestart)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 2000, 0, false, {}, 0 });
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    run(1);
    EXPECT_TRUE(warnings.isEmpty()) << "0.15 is 75 %";
    run(60);
    ASSERT_EQ(warnings.size(), 1) << "0.25 leaps past 80 and 90 to 100 %";
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("100 %")));
    run(70);
    dialUp.drop(handle);
    run(1);
    EXPECT_EQ(warnings.size(), 1);

    {
        AppCore again(file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
        again.loadAll();
        SpendingWatch restarted(again, clock);
        QStringList after;
        watch(restarted, after);
        restarted.update();
        EXPECT_TRUE(after.isEmpty()) << "the warnings given are remembered";
        EXPECT_EQ(again.spending().budgets.value(QStringLiteral("DemoEntry")).money, 2000);
    }

    clock.advanceSeconds(30 * 86400); // 1 April: a new cycle
    dialUp.connect("DemoEntry", dialup::kConnected);
    run(61);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("100 %")));
}

TEST_F(SpendingWatchTest, AnArmedHangUpEndsOurOwnCallBeforeItsNextUnit)
{
    QObject::connect(&spending, &SpendingWatch::hangUpRequested, &dialler, &Dialler::HangUpEntry);
    dialHere();
    run(10);
    EXPECT_EQ(spending.display().line, QStringLiteral("next unit in 0:51"));
    spending.toggleArmed();
    EXPECT_TRUE(spending.display().armed);
    run(120);
    waitForHangUp();
    ASSERT_FALSE(call().Connected);
    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].DurationSeconds, 58u) << "three seconds before the 61st";
    EXPECT_EQ(core->log().records[0].Cost, 1500) << "minimum and one unit, no second unit";

    // Another program's call is not ours to hang up: a warning instead.
    dialUp.connect("DemoEntry", dialup::kConnected);
    run(2);
    spending.toggleArmed();
    run(60);
    EXPECT_TRUE(call().Connected);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("another program")));
}

TEST_F(SpendingWatchTest, TheAutomaticHangUpAtTheBudgetWaitsTenSecondsAndCanBeCancelled)
{
    QObject::connect(&spending, &SpendingWatch::hangUpRequested, &dialler, &Dialler::HangUpEntry);
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 2000, 0, true, {}, 0 });
    dialHere();
    run(61);
    EXPECT_EQ(spending.display().hangUpCountdown, SpendingWatch::kAutoHangUpSeconds);
    spending.cancelAutoHangUp();
    run(30);
    EXPECT_TRUE(call().Connected) << "cancelled";

    dialler.HangUpEntry();
    waitForHangUp();
    dialHere();
    run(9);
    EXPECT_TRUE(call().Connected);
    EXPECT_EQ(spending.display().hangUpCountdown, 2) << "the spent budget counts down for every call";
    run(2);
    waitForHangUp();
    EXPECT_FALSE(call().Connected);
}
