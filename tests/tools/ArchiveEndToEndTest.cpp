#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "tools/report/ReportTool.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

// A full log takes one more call: its oldest calls move to the archive, and
// no figure a user checks a bill against may change but by that call.
namespace {

constexpr int kFullLog = 16384;
constexpr std::uint32_t kSeconds = 60; // each logged call
constexpr MoneyValue kCost = 123; // 0.0123 each

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The program folder written byte by byte: one provider "DemoEntry", no
// tariffs, and a full log of calls of a minute, two minutes apart from
// 1 January 2026 00:00 (the last starts 22 days 18:46 later).
void writeFolder(const QString &folder)
{
    QByteArray providers(55306, '\0');
    std::memcpy(providers.data(), "OLS10", 6);
    providers[6] = 1;
    providers[12 + 4] = 9;
    std::memcpy(providers.data() + 12 + 5, "DemoEntry", 9);
    writeBytes(QDir(folder).filePath(QStringLiteral("Providers.data")), providers);

    QByteArray log(524288, '\0');
    const QDateTime first(QDate(2026, 1, 1), QTime(0, 0));
    for (int i = 0; i < kFullLog; ++i) {
        const QDateTime start = first.addSecs(qint64(i) * 120);
        const QDateTime end = start.addSecs(kSeconds);
        char *r = log.data() + 32 * i;
        const auto put = [](char *at, const QDateTime &t) {
            at[0] = char(t.date().day());
            at[1] = char(t.date().month());
            at[2] = char(t.date().year() % 100);
            at[3] = char(t.time().hour());
            at[4] = char(t.time().minute());
            at[5] = char(t.time().second());
        };
        put(r, start);
        put(r + 6, end);
        r[12] = 0;
        std::memcpy(r + 16, &kSeconds, 4);
        std::memcpy(r + 20, &kCost, 8);
    }
    writeBytes(QDir(folder).filePath(QStringLiteral("Log.data")), log);
    writeBytes(QDir(folder).filePath(QStringLiteral("Tariffs.data")), QByteArray(38912, '\0'));
    writeBytes(QDir(folder).filePath(QStringLiteral("settings.data")),
        "[Application]\r\nLog.NumberOfRecords=16384\r\nTarifs.NumberOfRecords=0\r\n");
}

QString report(const QString &folder, const QStringList &arguments)
{
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    ReportTool tool(folder, QDate(2026, 3, 2), outStream, errStream);
    EXPECT_EQ(tool.run(arguments), 0) << err.toStdString();
    return out;
}

} // namespace

TEST(ArchiveEndToEnd, AFullLogPlusOneCallKeepsEveryFigure)
{
    QTemporaryDir dir;
    writeFolder(dir.path());
    // Worked out from how the folder was written, not by the code under test.
    const QString january = QStringLiteral("2026-01,16384,%1,%2,,").arg(16384 * 60).arg(QStringLiteral("201.5232"));
    const QString monthsBefore = report(dir.path(), { "months", "--format", "csv" });
    EXPECT_EQ(monthsBefore, "key,calls,seconds,cost,bytes_in,bytes_out\n" + january + "\n");

    FakeClock clock(QDateTime(QDate(2026, 3, 2), QTime(10, 0)));
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    dialUp.entries = { "DemoEntry" };
    AppCore core(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
    core.loadAll();
    CallMonitor monitor(monitorParts(core), dialUp, clock);
    monitor.startUp();
    const Provider &demo = core.providers().records[0];
    EXPECT_EQ(demo.TotalCalls, 16384);
    EXPECT_EQ(demo.TotalSeconds, 16384u * 60);
    EXPECT_EQ(demo.TotalCost, 16384 * 123);

    // A call of 30 seconds on 2 March.
    const auto line = dialUp.connect("DemoEntry");
    for (int i = 0; i < 30; ++i) {
        clock.advanceSeconds(1);
        monitor.tick();
    }
    dialUp.drop(line);
    clock.advanceSeconds(1);
    monitor.tick();
    ASSERT_FALSE(core.currentCall().Connected);

    EXPECT_EQ(QFileInfo(core.archivePath()).size(), 1024 * 32) << "the oldest 1024 calls moved out";
    EXPECT_EQ(core.log().Count, 16384 - 1024 + 1);
    EXPECT_EQ(demo.TotalCalls, 16385);
    EXPECT_EQ(demo.TotalSeconds, 16384u * 60 + 30);
    EXPECT_EQ(demo.TotalCost, 16384 * 123);

    EXPECT_EQ(report(dir.path(), { "months", "--format", "csv" }),
        "key,calls,seconds,cost,bytes_in,bytes_out\n" + january + "\n2026-03,1,30,0.00,,\n");
    EXPECT_EQ(report(dir.path(), { "providers", "--format", "csv" }),
        QStringLiteral("key,calls,seconds,cost,bytes_in,bytes_out\nDemoEntry,16385,%1,201.5232,,\n")
            .arg(16384 * 60 + 30));
    const QStringList calls = report(dir.path(), { "calls", "--format", "csv" }).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(calls.size(), 1 + 16385);
    EXPECT_EQ(calls[1], "2026-01-01 00:00:00,2026-01-01 00:01:00,60,0.0123,0,DemoEntry,,") << "the oldest, archived";
    EXPECT_TRUE(calls.last().startsWith("2026-03-02 10:00:01,2026-03-02 10:00:31,30,0.00,"))
        << calls.last().toStdString();

    // After a restart, the archive is read back and the figures stand.
    AppCore again(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
    again.loadAll();
    CallMonitor monitorAgain(monitorParts(again), dialUp, clock);
    monitorAgain.startUp();
    EXPECT_EQ(again.providers().records[0].TotalCalls, 16385);
    EXPECT_EQ(again.providers().records[0].TotalSeconds, 16384u * 60 + 30);
}
