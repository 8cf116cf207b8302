// A call on the simulated service's metered entry, from dial to log, with the
// bytes the entry's traffic rates make.
#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimDialUpService.h"

#include "support/FakeClock.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

TEST(SimCallVolume, ACallIsLoggedWithTheBytesItsLineCarried)
{
    constexpr qint64 kRateIn = 123457;
    constexpr qint64 kRateOut = 9871;
    constexpr int kSeconds = 37;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    const QByteArray phonebook = "[Metered]\nStageSeconds=0\nDropAfterSeconds=" + QByteArray::number(kSeconds)
        + "\nBytesPerSecondIn=" + QByteArray::number(kRateIn) + "\nBytesPerSecondOut=" + QByteArray::number(kRateOut)
        + "\n";
    ASSERT_TRUE(writeFileAtomically(folder.filePath(QStringLiteral("phonebook.ini")), phonebook));

    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    SimDialUpService service(dir.path(), SimDialUpService::Options { &clock, 0, {} });
    AppCore core(folder.filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, service });
    core.loadAll();
    CallMonitor monitor(monitorParts(core), service, clock);
    monitor.startUp();

    ASSERT_TRUE(service.dial("Metered", "", "", [](std::uint32_t, dialup::ErrorCode) {}));
    monitor.tick();
    ASSERT_TRUE(core.currentCall().Connected);
    for (int second = 1; second < kSeconds; ++second) {
        clock.advanceSeconds(1);
        monitor.tick();
        EXPECT_EQ(core.currentCall().Volume.bytesIn, kRateIn * second) << "live, second " << second;
    }
    // The line drops kSeconds after connecting; the next tick logs the call.
    clock.advanceSeconds(1);
    monitor.tick();
    ASSERT_FALSE(core.currentCall().Connected);
    ASSERT_EQ(core.log().Count, 1);
    EXPECT_EQ(core.log().records[0].DurationSeconds, std::uint32_t(kSeconds));

    // 37 s at 123457 B/s in and 9871 B/s out.
    const qint64 in = 4567909;
    const qint64 out = 365227;
    EXPECT_EQ(core.callVolume(0), (CallVolume { in, out }));
    QFile file(folder.filePath(QStringLiteral("Log.volume.data")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), 8 + 16);
    EXPECT_EQ(qFromLittleEndian<qint64>(bytes.constData() + 8), in);
    EXPECT_EQ(qFromLittleEndian<qint64>(bytes.constData() + 16), out);
}
