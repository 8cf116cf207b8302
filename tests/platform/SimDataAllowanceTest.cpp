// The program's own dial on the simulated service's metered entry against a
// data allowance: the warnings at the second the line's traffic reaches each
// level, and the automatic hang-up once the allowance is spent.
#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "core/connection/Dialler.h"
#include "core/spending/SpendingWatch.h"
#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimDialUpService.h"

#include "core/tariffs/TariffTestData.h"
#include "support/FakeClock.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <gtest/gtest.h>

TEST(SimDataAllowance, WarnsAtEachLevelsSecondAndHangsUpOnceTheAllowanceIsSpent)
{
    constexpr qint64 kRateIn = 150000;
    constexpr qint64 kRateOut = 50000;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    ASSERT_TRUE(writeFileAtomically(folder.filePath(QStringLiteral("phonebook.ini")),
        "[Metered]\nUserName=u\nPassword=p\nSavePassword=1\nStageSeconds=0\nBytesPerSecondIn="
            + QByteArray::number(kRateIn) + "\nBytesPerSecondOut=" + QByteArray::number(kRateOut) + "\n"));

    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    SimDialUpService service(dir.path(), SimDialUpService::Options { &clock, 0, {} });
    AppCore core(folder.filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, service });
    core.loadAll();
    // 0.10 a minute after a 0.05 minimum; 2 MB free, then 0.25 a MB begun.
    tariffdata::fill(core.tariffs(), { tariffdata::rate(1, 1, 1000, 500) });
    VolumePlan plan;
    plan.allowanceBytes = 2000000;
    plan.blockBytes = 1000000;
    plan.blockPrice = 2500;
    core.volumePlans().insert(QStringLiteral("Metered"), plan);
    core.spending().budgets.insert(QStringLiteral("Metered"), { 0, 0, true, {}, 0 });

    CallMonitor monitor(monitorParts(core), service, clock);
    SpendingWatch spending(spendingParts(core), clock);
    Dialler dialler(core.currentCall(), monitor, service);
    monitor.setVolumeHook([&spending](CurrentCall &call, const CallVolume &) { spending.dataCharge().onVolume(call); });
    QObject::connect(&spending, &SpendingWatch::hangUpRequested, &dialler, &Dialler::HangUpEntry);
    int second = 0;
    std::vector<std::pair<int, BudgetWarning>> warnings;
    QObject::connect(&spending, &SpendingWatch::budgetWarningDue,
        [&](const BudgetWarning &warning) { warnings.emplace_back(second, warning); });
    monitor.startUp();
    ASSERT_EQ(core.providers().Count, 1);
    core.providers().Current = 0;
    monitor.UpdateProviderDisplay();

    monitor.tick();
    dialler.ButtonDialClick();
    service.pollProgress();
    ASSERT_TRUE(core.currentCall().Connected);
    ASSERT_TRUE(core.currentCall().DialledHere);
    QEventLoop hungUp;
    QObject::connect(&dialler, &Dialler::hangUpFinished, &hungUp, &QEventLoop::quit);
    for (second = 1; second <= 30 && !dialler.hangingUp(); ++second) {
        clock.advanceSeconds(1);
        monitor.tick();
        spending.update();
    }
    --second;
    if (dialler.hangingUp()) {
        QTimer::singleShot(5000, &hungUp, &QEventLoop::quit);
        hungUp.exec();
    }

    // 200,000 bytes a second: 1,600,000 (80 %) at 8 s, 1,800,000 at 9 s, the
    // whole 2,000,000 at 10 s, and the countdown's ten seconds after that.
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0].first, 8);
    EXPECT_EQ(warnings[0].second.level, 80);
    EXPECT_EQ(warnings[0].second.use.kind, BudgetKind::Data);
    EXPECT_EQ(warnings[1].first, 9);
    EXPECT_EQ(warnings[1].second.level, 90);
    EXPECT_EQ(warnings[2].first, 10);
    EXPECT_EQ(warnings[2].second.level, 100);
    EXPECT_TRUE(warnings[2].second.text.contains(QStringLiteral("hung up in 10 seconds")))
        << warnings[2].second.text.toStdString();
    EXPECT_EQ(second, 20) << "hung up at the end of the countdown";
    EXPECT_FALSE(core.currentCall().Connected);
    EXPECT_TRUE(service.enumConnections()->empty()) << "the line is still up";

    // 20 s: the minimum and one minute begun, 0.15; 4,000,000 bytes are two
    // MB beyond the allowance, 0.50.
    ASSERT_EQ(core.log().Count, 1);
    EXPECT_EQ(core.log().records[0].DurationSeconds, 20u);
    EXPECT_EQ(core.log().records[0].Cost, 6500);
    QFile file(folder.filePath(QStringLiteral("Log.volume.data")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 8 + 16);
    EXPECT_EQ(qFromLittleEndian<qint64>(bytes.constData() + 8), 3000000);
    EXPECT_EQ(qFromLittleEndian<qint64>(bytes.constData() + 16), 1000000);
}
