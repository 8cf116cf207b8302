#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

using namespace DataFileBytes;

namespace {

const QString kProviders = QStringLiteral("Providers.data");
const QString kLog = QStringLiteral("Log.data");
const QString kSettings = QStringLiteral("settings.data");
const QString kPhonebook = QStringLiteral("phonebook.ini");
const QString kFakedClockLibrary = QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");

constexpr int kTodaySeconds = 132;
constexpr int kTodayCalls = 144;
constexpr int kTodayDate = 192;

// Entries that answer at once; a line drops by itself after `dropAfterSeconds` (0: never).
QByteArray phonebook(const QStringList &names, int dropAfterSeconds = 0)
{
    QByteArray text;
    for (const QString &name : names) {
        text += "[" + name.toUtf8() + "]\nPhoneNumber=0800 555 0101\nUserName=e2e\nPassword=e2e\nSavePassword=1\n";
        text += "Answers=1\nFailWithError=0\nStageSeconds=0.2\nDropAfterSeconds=" + QByteArray::number(dropAfterSeconds)
            + "\n\n";
    }
    return text;
}

// The raw bytes of a provider's name, as the file holds them.
QByteArray storedName(const QByteArray &providers, int index)
{
    const qsizetype name = providerOffset(index) + 4;
    return providers.mid(name + 1, std::min<int>(u8(providers, name), 64));
}

double storedDouble(const QByteArray &bytes, qsizetype offset)
{
    const std::int64_t raw = i64(bytes, offset);
    double value = 0;
    std::memcpy(&value, &raw, sizeof value);
    return value;
}

} // namespace

// Calls that begin, end and are booked in the ways a user met them going wrong.
class CallsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.error().isEmpty()) << m_folder.error().toStdString(); }

    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "Program output:\n" << m_program.output().toStdString() << std::endl;
    }

    Desktop::Window startProgram()
    {
        if (!m_program.start()) {
            ADD_FAILURE() << "the program did not start";
            return {};
        }
        return m_program.readyMainWindow().value_or(Desktop::Window {});
    }

    void screenshot(const Desktop::Window &window) const
    {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_desktop.saveScreenshot(window, QLatin1String(test->name()));
    }

    // The dial button, once the line is idle; true when the call it dialled was logged.
    [[nodiscard]] bool dialUntilDropped(const Desktop::Window &main, int calls)
    {
        m_program.clickIn(main, SkinLayout::MainWindow::ButtonDial);
        return m_folder.waitForLoggedCalls(calls, 15000);
    }

    [[nodiscard]] bool connectionListed(const QString &entry) const { return m_folder.dial({}).output.contains(entry); }

    ProgramFolder m_folder;
    Desktop m_desktop;
    RunningProgram m_program { m_folder, m_desktop };
};

TEST_F(CallsEndToEnd, CancellingOurFailedDialLeavesAnotherProgramsLineUp)
{
    // "Gone", the provider selected, loses its phonebook entry once the program runs.
    m_folder.writeFile(kPhonebook, phonebook({ QStringLiteral("DemoEntry"), QStringLiteral("Gone") }));
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());
    m_folder.writeFile(kPhonebook, phonebook({ QStringLiteral("DemoEntry") }));

    QList<Desktop::Window> known = m_desktop.windowsOf(m_program.pid());
    m_program.clickIn(main, SkinLayout::MainWindow::ButtonDial);
    const std::optional<Desktop::Window> progress = m_program.window(SkinLayout::ConnectDialog::kSize);
    ASSERT_TRUE(progress) << "no progress window";
    known.append(*progress);
    const std::optional<Desktop::Window> error = m_desktop.waitForNewWindow(m_program.pid(), known, 5000);
    ASSERT_TRUE(error) << "the failed dial was not reported";
    m_desktop.pressKey(*error, QStringLiteral("Return"));
    ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *error, 5000));

    const ProgramFolder::DialResult other = m_folder.dial({ QStringLiteral("DemoEntry") });
    ASSERT_EQ(other.exitCode, 0) << other.output.toStdString();
    QThread::msleep(2000);
    m_program.clickIn(*progress, SkinLayout::ConnectDialog::GTabButton1);
    ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *progress, 5000));
    QThread::msleep(1500);
    EXPECT_TRUE(connectionListed(QStringLiteral("DemoEntry"))) << "the other program's line was hung up";
    EXPECT_LT(m_folder.loggedCalls(), 1) << "the other program's call was ended";

    const ProgramFolder::DialResult hungUp
        = m_folder.dial({ QStringLiteral("DemoEntry"), QStringLiteral("/disconnect") });
    ASSERT_EQ(hungUp.exitCode, 0) << hungUp.output.toStdString();
    ASSERT_TRUE(m_folder.waitForLoggedCalls(1, 5000));
    const QByteArray log = m_folder.readFile(kLog);
    EXPECT_EQ(u8(log, 12), providerIndex(m_folder.readFile(kProviders), QStringLiteral("DemoEntry")).value_or(-1));
    ASSERT_TRUE(m_program.closeThroughDialog());
}

TEST_F(CallsEndToEnd, TodayStartsAgainAtMidnight)
{
    ASSERT_TRUE(QFile::exists(kFakedClockLibrary));
    m_program.setEnvironment(QStringLiteral("LD_PRELOAD"), kFakedClockLibrary);
    m_program.setEnvironment(QStringLiteral("FAKETIME"), QStringLiteral("@2026-06-14 23:59:44"));
    m_folder.writeFile(kPhonebook, phonebook({ QStringLiteral("DemoEntry") }, 3));
    QElapsedTimer sinceStart;
    sinceStart.start();
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());

    ASSERT_TRUE(dialUntilDropped(main, 1)) << "the evening's call was not logged";
    const std::uint32_t evening = u32(m_folder.readFile(kProviders), providerOffset(0) + kTodaySeconds);
    EXPECT_GE(evening, 2u);

    // Well past midnight on the program's clock, then a second call.
    ASSERT_LT(sinceStart.elapsed(), 16000) << "too slow to dial before midnight";
    QThread::msleep(18000 - sinceStart.elapsed());
    ASSERT_TRUE(dialUntilDropped(main, 2)) << "the call after midnight was not logged";
    screenshot(main);

    const QByteArray providers = m_folder.readFile(kProviders);
    const std::uint32_t night = u32(providers, providerOffset(0) + kTodaySeconds);
    EXPECT_GE(night, 2u);
    EXPECT_LE(night, 4u) << "yesterday's seconds were carried into today";
    EXPECT_EQ(u16(providers, providerOffset(0) + kTodayCalls), 1);
    EXPECT_EQ(storedDouble(providers, providerOffset(0) + kTodayDate),
        double(QDate(1899, 12, 30).daysTo(QDate(2026, 6, 15))));
    ASSERT_TRUE(m_program.closeThroughDialog());
}

TEST_F(CallsEndToEnd, AConnectionOfAnEntryUnknownToTheTableGetsItsOwnProvider)
{
    // An empty phonebook at start, so no provider at all.
    m_folder.writeFile(kPhonebook, "\n");
    startProgram();
    ASSERT_FALSE(HasFailure());
    m_folder.writeFile(kPhonebook, phonebook({ QStringLiteral("Stranger") }));
    const ProgramFolder::DialResult dialled = m_folder.dial({ QStringLiteral("Stranger") });
    ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
    QThread::msleep(2500);
    const ProgramFolder::DialResult hungUp
        = m_folder.dial({ QStringLiteral("Stranger"), QStringLiteral("/disconnect") });
    ASSERT_EQ(hungUp.exitCode, 0) << hungUp.output.toStdString();
    ASSERT_TRUE(m_folder.waitForLoggedCalls(1, 5000));

    const QByteArray providers = m_folder.readFile(kProviders);
    ASSERT_EQ(providerCount(providers), 1);
    EXPECT_EQ(providerName(providers, 0), QStringLiteral("Stranger"));
    EXPECT_EQ(u16(providers, providerOffset(0) + 104), 1) << "calls to date";
    EXPECT_EQ(u8(m_folder.readFile(kLog), 12), 0);
    ASSERT_TRUE(m_program.closeThroughDialog());
}

TEST_F(CallsEndToEnd, NamesOutsideTheCodePageAreKeptAndDialled)
{
    const QString first = QStringLiteral("\u0421\u0432\u044f\u0437\u044c");
    const QString second = QStringLiteral("\u0414\u043e\u043c\u0430\u0448"); // as long, selected as the last added
    m_folder.writeFile(kPhonebook, phonebook({ first, second }, 2));
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(dialUntilDropped(main, 1)) << "the entry could not be dialled";
    screenshot(main);
    ASSERT_TRUE(m_program.closeThroughDialog());

    const QByteArray providers = m_folder.readFile(kProviders);
    ASSERT_EQ(providerCount(providers), 2);
    EXPECT_EQ(storedName(providers, 0), first.toUtf8());
    EXPECT_EQ(storedName(providers, 1), second.toUtf8());
    EXPECT_EQ(u8(m_folder.readFile(kLog), 12), 1);
    EXPECT_EQ(u16(providers, providerOffset(1) + 104), 1) << "calls to date";
}
