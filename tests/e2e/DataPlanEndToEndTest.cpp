#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <iostream>

using namespace DataFileBytes;

// A line of steady traffic, dialled by another program, on a provider with
// 0.10 a minute after a 0.05 minimum and a data plan of 500 KB free, then
// 0.03 for each 100 KB begun. It carries 90,000 bytes a second in and 10,000
// out and drops by itself after six seconds.
TEST(DataPlanEndToEnd, ACallIsLoggedWithItsBytesAndCostAndWarnedAsItsTrafficReachesEightyPerCent)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.error().isEmpty()) << folder.error().toStdString();
    folder.writeFile(QStringLiteral("phonebook.ini"),
        "[DataLine]\nPhoneNumber=0800 555 0101\nUserName=e2e\nPassword=e2e\nSavePassword=1\nAnswers=1\n"
        "FailWithError=0\nStageSeconds=0.2\nDropAfterSeconds=6\nBytesPerSecondIn=90000\nBytesPerSecondOut=10000\n");
    folder.writeFile(QStringLiteral("Tariffs.data"),
        tariffsFile({ .id = 1, .name = "Daytime", .unitCost = 1000, .minCharge = 500 }));
    folder.writeFile(
        QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=1\r\n");
    folder.writeFile(QStringLiteral("volume.data"),
        "[Volume.0]\r\nName=DataLine\r\nAllowanceBytes=500000\r\nBlockBytes=100000\r\nBlockPrice=300\r\n"
        "Counts=both\r\n");

    Desktop desktop;
    RunningProgram program(folder, desktop);
    ASSERT_TRUE(program.start());
    ASSERT_TRUE(program.readyMainWindow());
    const QList<Desktop::Window> windows = desktop.windowsOf(program.pid());

    // The line comes up 1.2 s after the dial begins (six stages of 0.2 s) and
    // before the dialler returns; 400,000 bytes, 80 % of the allowance, four
    // seconds after that. The tick that sees them may come a second later.
    QElapsedTimer dialling;
    dialling.start();
    const ProgramFolder::DialResult dialled = folder.dial({ QStringLiteral("DataLine") });
    ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
    const qint64 connectedBy = dialling.elapsed();
    const std::optional<Desktop::Window> warning = desktop.waitForNewWindow(program.pid(), windows, 9000);
    const qint64 warnedAt = dialling.elapsed();
    ASSERT_TRUE(warning) << "no warning as the allowance ran low";
    desktop.saveScreenshot(*warning, QStringLiteral("DataPlanEndToEnd-80"));
    EXPECT_GE(warnedAt, 5100) << "warned before 80 % of the allowance was used";
    EXPECT_LE(warnedAt, connectedBy + 6500) << "warned long after 80 % of the allowance was used";

    ASSERT_TRUE(folder.waitForLoggedCalls(1, 8000)) << "the dropped line's call was not logged";
    if (const std::optional<Desktop::Window> main = program.mainWindow())
        desktop.saveScreenshot(*main, QStringLiteral("DataPlanEndToEnd-logged"));

    // Six seconds: 540,000 bytes in and 60,000 out, 100,000 beyond the
    // allowance: one block, 0.03; the time is the minimum and one minute begun,
    // 0.15.
    const QByteArray volumes = folder.readFile(QStringLiteral("Log.volume.data"));
    ASSERT_EQ(volumes.size(), 8 + 16);
    EXPECT_EQ(volumes.left(4), QByteArray("TWV1"));
    EXPECT_EQ(u32(volumes, 4), 1u);
    EXPECT_EQ(i64(volumes, 8), 540000);
    EXPECT_EQ(i64(volumes, 16), 60000);
    const QByteArray log = folder.readFile(QStringLiteral("Log.data"));
    EXPECT_EQ(i64(log, callOffset(0) + 20), 1800);
    const std::uint32_t seconds = u32(log, callOffset(0) + 16);
    EXPECT_GE(seconds, 5u);
    EXPECT_LE(seconds, 7u);
    if (::testing::Test::HasFailure())
        std::cerr << "Program output:\n" << program.output().toStdString() << std::endl;
}
