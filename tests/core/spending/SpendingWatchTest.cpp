#include "core/connection/CallMonitorTestFixture.h"

#include "core/calllog/CallLogEdits.h"
#include "core/calllog/CallLogRows.h"
#include "core/connection/Dialler.h"
#include "core/spending/SpendingSummary.h"
#include "core/spending/SpendingWatch.h"
#include "support/CallRecordTimes.h"

#include <QEventLoop>
#include <QTimer>

#include <functional>

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
        QObject::connect(
            &w, &SpendingWatch::budgetWarningDue, [&into](const BudgetWarning &warning) { into.append(warning.text); });
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

    SpendingWatch spending { spendingParts(*core), clock };
    Dialler dialler { core->currentCall(), monitor, dialUp };
    QStringList warnings;
};

} // namespace

TEST_F(SpendingWatchTest, EachWarningShowsOncePerCycleEvenAcrossARestart)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 2000, 0, false, {}, 0 });
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    run(1);
    ASSERT_EQ(warnings.size(), 1) << "0.15 is 75 %, but the next unit's 0.25 leaps past 80 and 90 to 100 %";
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("125 %")));
    run(60);
    EXPECT_EQ(warnings.size(), 1) << "told before the unit, not again when it is charged";
    run(70);
    dialUp.drop(handle);
    run(1);
    EXPECT_EQ(warnings.size(), 1);

    {
        AppCore again(file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
        again.loadAll();
        SpendingWatch restarted(spendingParts(again), clock);
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
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("125 %")));
}

TEST_F(SpendingWatchTest, AThresholdTheNextUnitLeapsOverIsToldBeforeThatUnitIsCharged)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 2000, 0, false, {}, 0 });
    QList<BudgetWarning> given;
    QObject::connect(
        &spending, &SpendingWatch::budgetWarningDue, [&given](const BudgetWarning &warning) { given.append(warning); });
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    run(1);
    // 0.05 and one unit of 0.10 is 0.15, 75 % of 0.20; the 61st second adds 0.10: 0.25, 125 %.
    ASSERT_EQ(given.size(), 1);
    EXPECT_EQ(given[0].text,
        QStringLiteral("The next unit, in 1:00, takes you to 125 % of this billing month's money budget for DemoEntry: "
                       "£ 0.25 of £ 0.20."));
    EXPECT_EQ(given[0].level, 100);
    EXPECT_EQ(given[0].inSeconds, 60);
    EXPECT_EQ(given[0].use.kind, BudgetKind::Money);
    EXPECT_EQ(given[0].use.used, 2500);
    EXPECT_EQ(given[0].use.limit, 2000);
    run(48);
    dialUp.drop(handle); // hung up before the unit: nothing was reached
    run(1);
    EXPECT_EQ(given.size(), 1);

    // The next call starts at 0.15 + 0.15 = 0.30: 150 %, reached this time.
    dialUp.connect("DemoEntry", dialup::kConnected);
    run(1);
    ASSERT_EQ(given.size(), 2);
    EXPECT_TRUE(given[1].text.startsWith(
        QStringLiteral("You have used 150 % of this billing month's money budget for DemoEntry: £ 0.30 of £ 0.20.")))
        << given[1].text.toStdString();
}

TEST_F(SpendingWatchTest, AThresholdReachedAndOneTheNextUnitLeapsOverMakeOneMessage)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 1800, 0, false, {}, 0 });
    dialUp.connect("DemoEntry", dialup::kConnected);
    run(1);
    // 0.15 of 0.18 is 83 %; 0.25 is 138 %.
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0],
        QStringLiteral("You have used 83 % of this billing month's money budget for DemoEntry: £ 0.15 of £ 0.18.\r\r"
                       "The next unit, in 1:00, takes it to 138 %: £ 0.25."));
}

TEST_F(SpendingWatchTest, AWarningAtStartUpTellsTheRealShareOfTheHoursBudget)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 0, 10, false, {}, 0 });
    CallRecord &record = core->log().records[0];
    record = {};
    record.StartDay = 1;
    record.StartMonth = 3;
    record.StartYear = 26;
    record.ProviderIndex = 0;
    record.DurationSeconds = 21 * 3600 + 24 * 60; // 214 % of 10 hours
    // It ended its seconds after it began; a record that did not is damaged and never counted.
    record.EndDay = 1;
    record.EndMonth = 3;
    record.EndYear = 26;
    record.EndHour = 21;
    record.EndMinute = 24;
    core->log().Count = 1;
    core->providers().Current = 0;
    spending.update();
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0],
        QStringLiteral("You have used 214 % of this billing month's hours budget for DemoEntry: 21:24 of 10 hours."));
}

TEST_F(SpendingWatchTest, AnotherProgramsCallIsNeverCountedDown)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 1000, 0, true, {}, 0 });
    dialUp.connect("DemoEntry", dialup::kConnected);
    run(1);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].startsWith(QStringLiteral("You have used 150 %"))) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("cannot hang it up"))) << "said at once";
    EXPECT_EQ(spending.display().hangUpCountdown, -1);
    EXPECT_EQ(spending.display().line, QStringLiteral("next unit in 1:00"));
    run(15);
    EXPECT_TRUE(call().Connected);
    EXPECT_EQ(warnings.size(), 1);

    spending.toggleArmed(); // F4 or a click on the line
    EXPECT_FALSE(spending.display().armed);
    EXPECT_FALSE(spending.display().line.contains(QStringLiteral("armed")));
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_TRUE(warnings[1].contains(QStringLiteral("cannot hang it up")));
}

TEST_F(SpendingWatchTest, DuringACallTheLineSaysWhenANewCallWouldBeCheaper)
{
    Tariff day = tariff(8 * kHour, 18 * kHour - 1, 1);
    day.UnitCost = 1000;
    Tariff evening = tariff(18 * kHour, 24 * kHour - 1, 1);
    evening.UnitCost = 500;
    setTariffs({ day, evening });
    core->tariffs().records[1].Name.setText(QStringLiteral("Evening"));
    clock.advanceSeconds(7 * kHour + 59 * 60 + 28);
    dialUp.connect("DemoEntry", dialup::kConnected);
    run(1); // 17:59:29
    EXPECT_EQ(spending.display().line, QStringLiteral("next unit in 1:00, cheaper 18:00"));
    EXPECT_TRUE(spending.display().lineHint.contains(QStringLiteral("Evening from 18:00: 0.05 p.min")));
    run(43); // 18:00:12
    EXPECT_EQ(spending.display().line, QStringLiteral("next unit in 0:17, cheaper now"));
    EXPECT_TRUE(spending.display().lineHint.contains(QStringLiteral("Evening now: 0.05 p.min")));
}

TEST_F(SpendingWatchTest, WithNoCallTheCheaperHourLineChangesOnTheSecondTheTariffDoes)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    Tariff day = tariff(8 * kHour, 18 * kHour - 1, 1);
    day.UnitCost = 1000;
    Tariff evening = tariff(18 * kHour, 24 * kHour - 1, 1);
    evening.UnitCost = 500;
    Tariff night = tariff(0, 8 * kHour - 1, 1);
    night.UnitCost = 200;
    // Monday 2 March to Tuesday 3 March, whose first instant alone it still covers.
    Tariff offer = era(46083, 46084);
    offer.UnitCost = 1500;
    setTariffs({ day, evening, night, offer });
    for (const auto &[index, name] : { std::pair { 0, "Day" }, { 1, "Evening" }, { 2, "Night" }, { 3, "Offer" } })
        core->tariffs().records[index].Name.setText(QString::fromLatin1(name));
    const auto at = [](int date, int hours, int minutes, int seconds) {
        return QDateTime(QDate(2026, 3, date), QTime(hours, minutes, seconds));
    };
    const struct {
        const char *what;
        std::function<void()> before; // then one second passes
        QDateTime now;
        const char *line;
    } steps[] = {
        { "the offer's last second but one", [&] { clock.setWallClock(at(2, 23, 59, 58)); }, at(2, 23, 59, 59),
            "Day from Tue 08:00: 0.10 p.min" },
        { "midnight, the offer still on", [] {}, at(3, 0, 0, 0), "Day from 08:00: 0.10 p.min" },
        { "the offer over, nothing cheaper than the night", [] {}, at(3, 0, 0, 1), "" },
        { "the night's last second", [&] { clock.setWallClock(at(3, 7, 59, 58)); }, at(3, 7, 59, 59), "" },
        { "the day's first second", [] {}, at(3, 8, 0, 0), "Evening from 18:00: 0.05 p.min" },
        { "the day's last second", [&] { clock.setWallClock(at(3, 17, 59, 58)); }, at(3, 17, 59, 59),
            "Evening from 18:00: 0.05 p.min" },
        { "the evening's first second", [] {}, at(3, 18, 0, 0), "Night from Wed 00:00: 0.02 p.min" },
        { "the evening made cheapest", [&] { core->tariffs().records[1].UnitCost = 100; }, at(3, 18, 0, 1), "" },
        { "the wall clock put back", [&] { clock.setWallClock(at(3, 16, 59, 59)); }, at(3, 17, 0, 0),
            "Evening from 18:00: 0.01 p.min" },
    };
    run(1);
    core->providers().Current = 0;
    for (const auto &step : steps) {
        step.before();
        run(1);
        ASSERT_EQ(clock.now(), step.now) << step.what;
        EXPECT_EQ(spending.display().line.toStdString(), step.line) << step.what;
    }
    QLocale::setDefault(QLocale::c());
}

TEST_F(SpendingWatchTest, AChangedBudgetIsWrittenByTheSaveThatFollowsADialog)
{
    core->spending().budgets.insert(QStringLiteral("DemoEntry"), { 10000, std::nullopt, false, {}, 0 });
    core->saveChanges();
    EXPECT_TRUE(read(QStringLiteral("budgets.data")).contains("Money=10000"));
    core->spending().budgets[QStringLiteral("DemoEntry")].money = 25000;
    core->saveChanges();
    EXPECT_TRUE(read(QStringLiteral("budgets.data")).contains("Money=25000"));
}

TEST_F(SpendingWatchTest, ADamagedBudgetsFileIsKeptAndToldOnce)
{
    const QByteArray damaged = "[Budget.0]\r\nName=DemoEntry\r\nMoney=2000\r\nAutoHangUp=7\r\n\x81\x02\xff\r\n";
    QFile out(file(QStringLiteral("budgets.data")));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(damaged);
    out.close();

    const StartupReport first = core->loadAll();
    EXPECT_EQ(first.budgetsProblems.size(), 2) << first.budgetsProblems.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(read(QStringLiteral("budgets.data.old")), damaged);
    const ProviderBudget budget = core->spending().budgets.value(QStringLiteral("DemoEntry"));
    EXPECT_EQ(budget.money, 2000) << "what could be read stays";
    EXPECT_FALSE(budget.autoHangUp) << "only 1 switches it on";

    const StartupReport again = core->loadAll();
    EXPECT_TRUE(again.budgetsProblems.isEmpty()) << "told once";
    EXPECT_EQ(core->spending().budgets.value(QStringLiteral("DemoEntry")).money, 2000);
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

// The month's figures follow the log however it changes: calls logged at
// their end, and calls deleted or a cost edited in the call log window, which
// saves the log at once. Each step is checked against the records summed here.
TEST_F(SpendingWatchTest, TheBillingMonthFollowsEveryChangeToTheLog)
{
    const auto callAndEnd = [this](int seconds) {
        const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
        run(seconds);
        dialUp.drop(handle);
        run(1);
    };
    const auto saveAsTheCallLogDoes = [this] {
        core->saveChanges();
        spending.update();
    };
    const struct {
        const char *what;
        std::function<void()> change;
        int calls;
    } steps[] = {
        { "a call ends", [&] { callAndEnd(90); }, 1 },
        { "another call ends", [&] { callAndEnd(30); }, 2 },
        { "a third call ends", [&] { callAndEnd(200); }, 3 },
        { "the first call deleted",
            [&] {
                deleteCalls(core->log(), kAllProviders, 1, 1);
                saveAsTheCallLogDoes();
            },
            2 },
        { "a cost edited",
            [&] {
                core->log().records[2].Cost += 12'345;
                saveAsTheCallLogDoes();
            },
            2 },
        { "every call cleared",
            [&] {
                clearCalls(core->log(), kAllProviders);
                saveAsTheCallLogDoes();
            },
            0 },
    };
    run(1);
    for (const auto &step : steps) {
        step.change();
        const BillingCycle cycle = spending.cycleOf(0);
        int calls = 0;
        MoneyValue cost = 0;
        for (int i = 0; i < core->log().Count; ++i) {
            const CallRecord &r = core->log().records[i];
            if (r.ProviderIndex == 0 && cycle.contains(QDate(2000 + r.StartYear, r.StartMonth, r.StartDay))) {
                ++calls;
                cost += r.Cost;
            }
        }
        EXPECT_EQ(calls, step.calls) << step.what;
        const QString text = spending.display().cycleText;
        EXPECT_TRUE(text.contains(QStringLiteral(": %1 call%2, ").arg(calls).arg(calls == 1 ? "" : "s")))
            << step.what << ": " << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral(", £ %1").arg(double(cost) / 10000, 0, 'f', 2)))
            << step.what << ": " << text.toStdString();
    }
}

// A call into a full log moves the oldest calls to the archive; the billing
// month's figures, time and data alike, keep them, and so does a restart that
// reads the archive back. The month begins on the 15th and the archive takes
// part of its first day. Each figure is summed here from the records written.
TEST_F(SpendingWatchTest, TheBillingMonthKeepsTheCallsAFullLogArchives)
{
    core->providers().Current = 0;
    provider(0).MonthStartDay = 15; // today, 2 March: the month from 15 February
    VolumePlan plan;
    plan.allowanceBytes = 500 * VolumePlan::kGigabyte;
    core->volumePlans().insert(QStringLiteral("DemoEntry"), plan);
    std::vector<std::pair<CallRecord, CallVolume>> raw;
    for (int i = 0; i < kMaxLogRecords; ++i) {
        // 1000 calls on 14 February, 1000 on the 15th, then 1100 a day to 1 March.
        const QDate day = i < 2000 ? QDate(2026, 2, 14 + i / 1000) : QDate(2026, 2, 16).addDays((i - 2000) / 1100);
        const QDateTime start(day, QTime(0, 0).addSecs(60 * (i % 1000)));
        CallRecord &r = core->log().records[i];
        r = {};
        setCallTimes(r, start, 40 + i % 5);
        r.ProviderIndex = i % 7 == 3 ? 1 : 0;
        r.Cost = 100 * (1 + i % 3);
        core->volumes().records[i] = { 10 * VolumePlan::kMegabyte, i % 2 == 0 ? 0 : VolumePlan::kMegabyte };
        raw.emplace_back(r, core->volumes().records[i]);
    }
    core->log().Count = kMaxLogRecords;
    core->saveEverything();

    // "Billing month from 15 Feb: 12 calls, 0000:08:05, £ 1.23" and the data
    // used, from the records.
    const auto expected = [&raw] {
        int calls = 0;
        std::int64_t seconds = 0;
        MoneyValue cost = 0;
        std::int64_t bytes = 0;
        for (const auto &[r, volume] : raw) {
            const QDate day(2000 + r.StartYear, r.StartMonth, r.StartDay);
            if (r.ProviderIndex != 0 || day < QDate(2026, 2, 15) || day > QDate(2026, 3, 14))
                continue;
            ++calls;
            seconds += r.DurationSeconds;
            cost += r.Cost;
            if (volume.known())
                bytes += volume.bytesIn + volume.bytesOut;
        }
        const QString cycle = QStringLiteral("Billing month from 15 Feb: %1 calls, %2:%3:%4, £ %5")
                                  .arg(calls)
                                  .arg(seconds / 3600, 4, 10, QLatin1Char('0'))
                                  .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                  .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                                  .arg(double(cost) / 10000, 0, 'f', 2);
        return std::pair { cycle,
            QStringLiteral("Data this billing month: %1 GB of 500.00 GB").arg(double(bytes) / 1e9, 0, 'f', 2) };
    };
    const auto expectFigures = [&expected](const SpendingWatch &watch, const char *when) {
        const auto [cycle, data] = expected();
        EXPECT_EQ(watch.display().cycleText.toStdString(), cycle.toStdString()) << when;
        EXPECT_TRUE(watch.display().lineHint.contains(data))
            << when << ": " << watch.display().lineHint.toStdString() << " wants " << data.toStdString();
    };
    run(1);
    expectFigures(spending, "a full log");

    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    run(30);
    dialUp.drop(handle);
    run(1);
    ASSERT_EQ(core->archivedCalls().size(), std::size_t(AppCore::kArchiveBatchRecords));
    ASSERT_EQ(core->log().Count, kMaxLogRecords - AppCore::kArchiveBatchRecords + 1);
    raw.emplace_back(core->log().records[core->log().Count - 1], CallVolume {});
    expectFigures(spending, "after the call that archived the oldest");

    AppCore restarted(file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
    restarted.loadAll();
    restarted.setCurrencyText(QStringLiteral("£ "));
    ASSERT_EQ(restarted.archivedCalls().size(), std::size_t(AppCore::kArchiveBatchRecords));
    SpendingWatch afterRestart(spendingParts(restarted), clock);
    afterRestart.update();
    expectFigures(afterRestart, "after a restart");
    // The budget dialog's summary: the month, and its bill of calls alone.
    const SpendingSummary summary = spendingSummary(spendingParts(restarted), 0, clock.now());
    const QString cycle = expected().first;
    EXPECT_EQ(summary.cycle.toStdString(), cycle.toStdString());
    EXPECT_TRUE(summary.bill.startsWith(cycle.section(QStringLiteral(", "), -1) + QStringLiteral(" so far")))
        << summary.bill.toStdString();
}
