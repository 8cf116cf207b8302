// Calls and files kept whatever goes wrong around them: a file that cannot
// be written, a second start in the same folder, a signal during the exit
// question or the splash, and a disk that fills up.
#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <iostream>

using namespace DataFileBytes;

namespace {

const QString kLog = QStringLiteral("Log.data");
const QString kSettings = QStringLiteral("settings.data");
const QString kTariffs = QStringLiteral("Tariffs.data");
const QString kArchive = QStringLiteral("Log.archive.data");

QByteArray phonebook()
{
    return "[DemoEntry]\nPhoneNumber=0800 555 0101\nUserName=e2e\nPassword=e2e\nSavePassword=1\nAnswers=1\n"
           "FailWithError=0\nStageSeconds=0.2\nDropAfterSeconds=0\n";
}

class KeepingCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.error().isEmpty()) << m_folder.error().toStdString();
        m_folder.writeFile(QStringLiteral("phonebook.ini"), phonebook());
    }
    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "Program output:\n" << m_program.output().toStdString() << std::endl;
    }

    Desktop::Window startProgram(RunningProgram &program)
    {
        if (!program.start()) {
            ADD_FAILURE() << "the program did not start";
            return {};
        }
        return program.readyMainWindow().value_or(Desktop::Window {});
    }
    void screenshot(const Desktop::Window &window, const char *what) const
    {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_desktop.saveScreenshot(window, QStringLiteral("%1-%2").arg(QLatin1String(test->name()), QLatin1String(what)));
    }
    // A call of about `seconds` made by the dialler tool, as another program would.
    void call(int seconds)
    {
        const ProgramFolder::DialResult dialled = m_folder.dial({ QStringLiteral("DemoEntry") });
        ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
        QThread::msleep(seconds * 1000);
        const ProgramFolder::DialResult hungUp
            = m_folder.dial({ QStringLiteral("DemoEntry"), QStringLiteral("/disconnect") });
        ASSERT_EQ(hungUp.exitCode, 0) << hungUp.output.toStdString();
    }
    // A file the program cannot replace: a folder in its place.
    void block(const QString &name) const
    {
        QFile::remove(m_folder.filePath(name));
        ASSERT_TRUE(QDir(m_folder.path()).mkdir(name));
    }
    void unblock(const QString &name) const { ASSERT_TRUE(QDir(m_folder.path()).rmdir(name)); }
    QString setting(const QString &key) const
    {
        return settingsValue(m_folder.readFile(kSettings), key).value_or(QStringLiteral("missing"));
    }

    ProgramFolder m_folder;
    Desktop m_desktop;
    RunningProgram m_program { m_folder, m_desktop };
};

} // namespace

TEST_F(KeepingCalls, TheMonitorRunsOnWhileAFailedWriteIsReported)
{
    const Desktop::Window main = startProgram(m_program);
    ASSERT_FALSE(HasFailure());
    block(kLog);
    const QList<Desktop::Window> before = m_desktop.windowsOf(m_program.pid());
    call(2);
    ASSERT_FALSE(HasFailure());
    const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(m_program.pid(), before, 10000);
    ASSERT_TRUE(message) << "the failed write was not reported";
    screenshot(*message, "message");

    // Ten seconds on the line while the message waits for the user.
    call(10);
    ASSERT_FALSE(HasFailure());
    QThread::msleep(1500);
    screenshot(main, "main");
    unblock(kLog);
    m_desktop.pressKey(*message, QStringLiteral("Return"));
    ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *message, 5000));
    ASSERT_TRUE(m_program.closeThroughDialog());

    ASSERT_EQ(setting(QStringLiteral("Log.NumberOfRecords")), QStringLiteral("2")) << "the call made meanwhile is lost";
    const QByteArray log = m_folder.readFile(kLog);
    EXPECT_GE(u32(log, callOffset(1) + 16), 9u);
    EXPECT_LE(u32(log, callOffset(1) + 16), 13u);
}

TEST_F(KeepingCalls, OneProgramPerFolder)
{
    const Desktop::Window main = startProgram(m_program);
    ASSERT_FALSE(HasFailure());

    RunningProgram second(m_folder, m_desktop);
    ASSERT_TRUE(second.start());
    ASSERT_TRUE(second.waitForExit(15000)) << "a second program runs on the same folder";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(m_program.isRunning());
    for (const QString &file : { QStringLiteral("Providers.data"), kLog, kTariffs, kSettings })
        EXPECT_FALSE(m_folder.exists(file)) << file.toStdString() << " written by a start that gave way";

    // A program that cannot answer: the later start says so and ends.
    ASSERT_EQ(::kill(pid_t(m_program.pid()), SIGSTOP), 0);
    RunningProgram third(m_folder, m_desktop);
    ASSERT_TRUE(third.start());
    const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(third.pid(), {}, 20000);
    ::kill(pid_t(m_program.pid()), SIGCONT);
    ASSERT_TRUE(message) << "the later start said nothing";
    screenshot(*message, "in-use");
    m_desktop.pressKey(*message, QStringLiteral("Return"));
    ASSERT_TRUE(third.waitForExit(10000));
    EXPECT_EQ(third.exitCode(), 1);
    EXPECT_FALSE(m_folder.exists(kSettings));

    // A program that died leaves its lock; the next start takes it over.
    ASSERT_EQ(::kill(pid_t(m_program.pid()), SIGKILL), 0);
    ASSERT_TRUE(m_program.waitForExit(10000));
    RunningProgram fourth(m_folder, m_desktop);
    const Desktop::Window again = startProgram(fourth);
    ASSERT_FALSE(HasFailure()) << "the lock of a dead program was not taken over";
    screenshot(again, "after-crash");
    ASSERT_TRUE(fourth.closeThroughDialog());
    (void)main;
}

TEST_F(KeepingCalls, TheExitQuestionRetriesAndASignalLeavesFilesThatAgree)
{
    m_folder.writeFile(kTariffs, tariffsFile({ .id = 5, .name = "Seconds", .unitKind = 2, .unitCost = 200 }));
    m_folder.writeFile(kSettings, "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=5\r\n");
    startProgram(m_program);
    ASSERT_FALSE(HasFailure());
    const ProgramFolder::DialResult dialled = m_folder.dial({ QStringLiteral("DemoEntry") });
    ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
    QThread::msleep(3000);
    block(kLog);

    const std::optional<Desktop::Window> question = m_program.askToClose();
    ASSERT_TRUE(question);
    QList<Desktop::Window> known = m_desktop.windowsOf(m_program.pid());
    m_program.clickYes(*question);
    const std::optional<Desktop::Window> failed = m_desktop.waitForNewWindow(m_program.pid(), known, 10000);
    ASSERT_TRUE(failed) << "no question about the file that could not be written";
    screenshot(*failed, "failed-write");
    known.append(*failed);
    m_desktop.pressKey(*failed, QStringLiteral("Return"));
    const std::optional<Desktop::Window> again = m_desktop.waitForNewWindow(m_program.pid(), known, 10000);
    ASSERT_TRUE(again) << "Enter did not try again";
    EXPECT_TRUE(m_program.isRunning());

    ASSERT_EQ(::kill(pid_t(m_program.pid()), SIGTERM), 0);
    ASSERT_TRUE(m_program.waitForExit(10000)) << "the signal did not end the program";
    EXPECT_EQ(m_program.exitCode(), 0);
    // Log.data holds no call, so no other file counts one.
    EXPECT_EQ(setting(QStringLiteral("Log.NumberOfRecords")), QStringLiteral("0"));
    const QByteArray tariffs = m_folder.readFile(kTariffs);
    ASSERT_EQ(tariffs.size(), kTariffsFileSize);
    EXPECT_EQ(u16(tariffs, 148), 0) << "the tariff counts a call the log lacks";
    EXPECT_EQ(u32(tariffs, 136), 0u);
    EXPECT_EQ(i64(tariffs, 140), 0);
}

TEST_F(KeepingCalls, ASignalDuringTheSplashEndsAtOnceAndWritesNothing)
{
    ASSERT_TRUE(m_program.start());
    ASSERT_TRUE(m_program.window(SkinLayout::Splash::kSize, 15000)) << "no splash";
    QElapsedTimer sinceSignal;
    sinceSignal.start();
    ASSERT_EQ(::kill(pid_t(m_program.pid()), SIGTERM), 0);
    ASSERT_TRUE(m_program.waitForExit(10000));
    EXPECT_LT(sinceSignal.elapsed(), 1000) << "the signal waited for the splash";
    EXPECT_EQ(m_program.exitCode(), 0);
    for (const QString &file : { QStringLiteral("Providers.data"), kLog, kTariffs, kSettings })
        EXPECT_FALSE(m_folder.exists(file)) << file.toStdString();
}

// A full log and a disk that fills up: the call that needs the archive
// cannot be logged, and after a kill and a restart with room again the
// oldest calls reach the archive once.
TEST_F(KeepingCalls, AFullDiskNeverArchivesCallsTwice)
{
    const QString problem = m_folder.moveToSmallDisk(2 * 1024 * 1024);
    if (!problem.isEmpty())
        GTEST_SKIP() << problem.toStdString();
    m_folder.writeFile(QStringLiteral("phonebook.ini"), phonebook());
    QByteArray log(kLogFileSize, '\0');
    for (int slot = 0; slot < kLogSlots; ++slot) {
        const qsizetype at = callOffset(slot);
        for (const int offset : { 0, 6 })
            log.replace(at + offset, 6, QByteArray("\x01\x01\x1a\x0a\x00\x00", 6)); // 01/01/26 10:00:00
        putU32(log, at + 16, std::uint32_t(slot % 3600) + 1); // every call its own
    }
    m_folder.writeFile(kLog, log);
    // Bytes unknown for every call, in step with the log, so the start is quiet.
    QByteArray volumes("TWV1", 4);
    for (int shift = 0; shift < 32; shift += 8)
        volumes.append(char((kLogSlots >> shift) & 0xff));
    volumes.append(QByteArray(16 * kLogSlots, '\xff'));
    m_folder.writeFile(QStringLiteral("Log.volume.data"), volumes);
    m_folder.writeFile(kSettings, "[Application]\r\nLog.NumberOfRecords=16384\r\n");
    ASSERT_TRUE(m_folder.leaveFree(100 * 1024));

    Desktop::Window main = startProgram(m_program);
    ASSERT_FALSE(HasFailure());
    const QList<Desktop::Window> before = m_desktop.windowsOf(m_program.pid());
    call(2);
    ASSERT_FALSE(HasFailure());
    const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(m_program.pid(), before, 10000);
    ASSERT_TRUE(message) << "the full disk was not reported";
    screenshot(*message, "full-disk");
    EXPECT_FALSE(m_folder.exists(kArchive)) << "archived while the log still holds the calls";
    ASSERT_EQ(::kill(pid_t(m_program.pid()), SIGKILL), 0);
    ASSERT_TRUE(m_program.waitForExit(10000));

    ASSERT_TRUE(m_folder.leaveFree(0));
    main = startProgram(m_program);
    ASSERT_FALSE(HasFailure());
    const QList<Desktop::Window> shown = m_desktop.windowsOf(m_program.pid());
    call(2);
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(m_folder.waitForLoggedCalls(kLogSlots - 1024 + 1, 15000)) << "the call after the restart";
    // Now, and only now, the oldest calls have moved, and the user is told.
    const std::optional<Desktop::Window> told = m_desktop.waitForNewWindow(m_program.pid(), shown, 10000);
    ASSERT_TRUE(told) << "no word of the archived calls";
    screenshot(*told, "archived");
    m_desktop.pressKey(*told, QStringLiteral("Return"));
    ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *told, 5000));
    ASSERT_TRUE(m_program.closeThroughDialog());

    EXPECT_EQ(m_folder.readFile(kArchive), log.left(1024 * kCallRecordSize)) << "each archived call once";
    const QByteArray kept = m_folder.readFile(kLog);
    EXPECT_EQ(kept.left(kCallRecordSize), log.mid(callOffset(1024), kCallRecordSize));
}
