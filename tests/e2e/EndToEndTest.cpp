#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

using namespace DataFileBytes;

namespace {

const QString kProviders = QStringLiteral("Providers.data");
const QString kLog = QStringLiteral("Log.data");
const QString kTariffs = QStringLiteral("Tariffs.data");
const QString kSettings = QStringLiteral("settings.data");

struct PhonebookEntry {
    QString name;
    double stageSeconds = 0.2;
    int dropAfterSeconds = 0;
};

QByteArray phonebook(std::initializer_list<PhonebookEntry> entries)
{
    QByteArray text;
    for (const PhonebookEntry &entry : entries) {
        text += "[" + entry.name.toLatin1() + "]\n";
        text += "PhoneNumber=0800 555 0101\nUserName=e2e\nPassword=e2e\nSavePassword=1\nAnswers=1\nFailWithError=0\n";
        text += "StageSeconds=" + QByteArray::number(entry.stageSeconds) + "\n";
        text += "DropAfterSeconds=" + QByteArray::number(entry.dropAfterSeconds) + "\n\n";
    }
    return text;
}

// Calls are timed by the program's once-a-second tick, so a call the test
// keeps up for n seconds of real time lasts n ticks, give or take one.
void expectDurationAbout(std::uint32_t duration, int seconds)
{
    EXPECT_GE(int(duration), seconds - 1);
    EXPECT_LE(int(duration), seconds + 1);
}

QDateTime nowToTheSecond()
{
    QDateTime now = QDateTime::currentDateTime();
    return now.addMSecs(-now.time().msec());
}

} // namespace

void PrintTo(const QPoint &point, std::ostream *out) { *out << "(" << point.x() << ", " << point.y() << ")"; }

class EndToEnd : public ::testing::Test {
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
        return waitForMainWindow();
    }

    Desktop::Window waitForMainWindow() { return m_program.readyMainWindow().value_or(Desktop::Window {}); }

    void screenshot(const Desktop::Window &window, const char *what) const
    {
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_desktop.saveScreenshot(window, QStringLiteral("%1-%2").arg(QLatin1String(test->name()), QLatin1String(what)));
    }

    // The one tariff, with the counts that make the program read it.
    void installTariff(const EveryDayTariff &tariff) const
    {
        m_folder.writeFile(kTariffs, tariffsFile(tariff));
        m_folder.writeFile(kSettings,
            "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=" + QByteArray::number(tariff.id)
                + "\r\n");
    }

    void dialConnected(const QString &entry) const
    {
        const ProgramFolder::DialResult dialled = m_folder.dial({ entry });
        ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
        ASSERT_TRUE(dialled.output.contains(QLatin1String("Connected"))) << dialled.output.toStdString();
    }

    ProgramFolder m_folder;
    Desktop m_desktop;
    RunningProgram m_program { m_folder, m_desktop };
};

TEST_F(EndToEnd, FirstRunWritesBlankFilesOnlyAfterTheUserConfirmsExit)
{
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(main.geometry.topLeft(), QPoint(0, 0));
    screenshot(main, "main");
    const std::optional<Desktop::Window> handle = m_program.window(SkinLayout::Handle::kSize);
    ASSERT_TRUE(handle);
    screenshot(*handle, "handle");
    const QList<Desktop::Window> windows = m_desktop.windowsOf(m_program.pid());
    const auto callLog = std::find_if(windows.begin(), windows.end(),
        [&](const Desktop::Window &window) { return window.id != main.id && window.id != handle->id; });
    ASSERT_NE(callLog, windows.end());
    screenshot(*callLog, "call-log");
    // Docked: the log under the main window, the handle under the log.
    EXPECT_EQ(callLog->geometry.topLeft(), main.geometry.bottomLeft() + QPoint(0, 1));
    EXPECT_EQ(handle->geometry.topLeft(), callLog->geometry.bottomLeft() + QPoint(0, 1));

    std::optional<Desktop::Window> question = m_program.askToClose();
    ASSERT_TRUE(question) << "the close button asked nothing";
    screenshot(*question, "exit-question");
    m_desktop.pressKey(*question, QStringLiteral("Escape"));
    ASSERT_TRUE(m_desktop.waitUntilGone(m_program.pid(), question->geometry.size(), 5000));
    QThread::msleep(1500);
    EXPECT_TRUE(m_program.isRunning()) << "No closed the program";
    for (const QString &file : { kProviders, kLog, kTariffs, kSettings })
        EXPECT_FALSE(m_folder.exists(file)) << file.toStdString() << " written although the user said No";

    question = m_program.askToClose();
    ASSERT_TRUE(question);
    ASSERT_TRUE(m_program.confirmClose(*question));

    const QByteArray providers = m_folder.readFile(kProviders);
    ASSERT_EQ(providers.size(), kProvidersFileSize);
    EXPECT_EQ(providers.left(6), QByteArray("OLS10\0", 6));
    // The phonebook's one entry became the one provider, and is current.
    EXPECT_EQ(providerCount(providers), 1);
    EXPECT_EQ(u16(providers, 8), 0);
    EXPECT_EQ(providerName(providers, 0), QStringLiteral("DemoEntry"));
    EXPECT_EQ(u16(providers, providerOffset(0) + 104), 0) << "calls to date";

    const QByteArray log = m_folder.readFile(kLog);
    ASSERT_EQ(log.size(), kLogFileSize);
    const qsizetype lastSlot = callOffset(kLogSlots - 1);
    EXPECT_EQ(log.left(lastSlot), QByteArray(lastSlot, char(0xFF))) << "unused slots are filled with 0xFF";
    EXPECT_EQ(log.mid(lastSlot), QByteArray(kCallRecordSize, '\0')) << "all but the last one";

    EXPECT_EQ(m_folder.readFile(kTariffs), QByteArray(kTariffsFileSize, '\0'));

    const QByteArray settings = m_folder.readFile(kSettings);
    EXPECT_EQ(settingsValue(settings, QStringLiteral("Log.NumberOfRecords")), QStringLiteral("0"));
    EXPECT_EQ(settingsValue(settings, QStringLiteral("Tarifs.NumberOfRecords")), QStringLiteral("0"));
    EXPECT_EQ(settingsValue(settings, QStringLiteral("MainWindow.Left")), QStringLiteral("0"));
    EXPECT_EQ(settingsValue(settings, QStringLiteral("MainWindow.Top")), QStringLiteral("0"));
    // Nothing was written to the current folder.
    EXPECT_TRUE(QDir(m_folder.elsewhere()).entryList({ QStringLiteral("*.data") }, QDir::Files).isEmpty());
}

TEST_F(EndToEnd, AnotherProgramsCallIsCostedPerMinuteAndBookedToItsEntry)
{
    m_folder.writeFile(QStringLiteral("phonebook.ini"),
        phonebook({ { QStringLiteral("DemoEntry") }, { QStringLiteral("SecondLine") } }));
    // 1.20 a minute, charged at the start of each minute, and 0.30 per call.
    installTariff({ .id = 7, .name = "Daytime", .unitKind = 1, .chargeKind = 1, .unitCost = 12000, .minCharge = 3000 });
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());

    const QDateTime before = nowToTheSecond();
    dialConnected(QStringLiteral("SecondLine"));
    ASSERT_FALSE(HasFailure());
    QElapsedTimer connected;
    connected.start();
    QThread::msleep(2500);
    screenshot(main, "call-in-progress");
    EXPECT_LT(m_folder.loggedCalls(), 1) << "a call was logged while it was running";
    QThread::msleep(65000 - connected.elapsed());
    const ProgramFolder::DialResult hungUp
        = m_folder.dial({ QStringLiteral("SecondLine"), QStringLiteral("/disconnect") });
    ASSERT_EQ(hungUp.exitCode, 0) << hungUp.output.toStdString();
    ASSERT_TRUE(m_folder.waitForLoggedCalls(1, 5000)) << "the hang-up was not seen";
    const QDateTime after = QDateTime::currentDateTime();
    screenshot(main, "after-call");

    const QByteArray providers = m_folder.readFile(kProviders);
    const std::optional<int> second = providerIndex(providers, QStringLiteral("SecondLine"));
    const std::optional<int> demo = providerIndex(providers, QStringLiteral("DemoEntry"));
    ASSERT_TRUE(second && demo);
    const QByteArray log = m_folder.readFile(kLog);
    ASSERT_EQ(log.size(), kLogFileSize);
    const std::uint32_t duration = u32(log, 16);
    expectDurationAbout(duration, 65);
    // Two minutes begun: 0.30 + 2 x 1.20.
    constexpr std::int64_t kCost = 27000;
    EXPECT_EQ(u8(log, 12), *second) << "booked to the entry that was dialled, not the current provider";
    EXPECT_EQ(i64(log, 20), kCost);
    EXPECT_EQ(u8(log, 28), 7) << "tariff id";
    const QDateTime start = callStart(log, 0);
    const QDateTime end = callEnd(log, 0);
    EXPECT_GE(start, before);
    EXPECT_LE(start, before.addSecs(3));
    EXPECT_LE(end, after);
    EXPECT_NEAR(start.secsTo(end), duration, 2);
    EXPECT_EQ(u8(log, callOffset(1) + 12), 0xFF) << "only one call logged";

    EXPECT_EQ(u16(providers, providerOffset(*second) + 104), 1) << "calls to date";
    EXPECT_EQ(u32(providers, providerOffset(*second) + 84), duration) << "seconds to date";
    EXPECT_EQ(i64(providers, providerOffset(*second) + 88), kCost) << "cost to date";
    EXPECT_EQ(u16(providers, providerOffset(*demo) + 104), 0);

    const QByteArray tariffs = m_folder.readFile(kTariffs);
    EXPECT_EQ(u32(tariffs, 136), duration) << "the tariff's seconds";
    EXPECT_EQ(i64(tariffs, 140), kCost) << "the tariff's cost";
    EXPECT_EQ(u16(tariffs, 148), 1) << "the tariff's calls";

    ASSERT_TRUE(m_program.closeThroughDialog());
    EXPECT_EQ(m_folder.loggedCalls(), 1);
    EXPECT_EQ(m_folder.readFile(kLog), log);
}

TEST_F(EndToEnd, LineDropEndsTheCallAndLogsIt)
{
    m_folder.writeFile(QStringLiteral("phonebook.ini"),
        phonebook({ { QStringLiteral("DemoEntry") }, { QStringLiteral("Flaky"), 0.2, 4 } }));
    // 0.02 a second and 0.05 per call; an id above 255 is logged by its low byte.
    installTariff({ .id = 300, .name = "Seconds", .unitKind = 2, .chargeKind = 1, .unitCost = 200, .minCharge = 500 });
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());

    dialConnected(QStringLiteral("Flaky"));
    ASSERT_FALSE(HasFailure());
    ASSERT_TRUE(m_folder.waitForLoggedCalls(1, 15000)) << "the dropped line was not logged";
    screenshot(main, "after-drop");

    const QByteArray providers = m_folder.readFile(kProviders);
    const QByteArray log = m_folder.readFile(kLog);
    const std::uint32_t duration = u32(log, 16);
    expectDurationAbout(duration, 4);
    EXPECT_EQ(u8(log, 12), providerIndex(providers, QStringLiteral("Flaky")).value_or(-1));
    EXPECT_EQ(i64(log, 20), 500 + std::int64_t(duration) * 200);
    EXPECT_EQ(u8(log, 28), 44);
    ASSERT_TRUE(m_program.closeThroughDialog());
    EXPECT_EQ(m_folder.loggedCalls(), 1);
}

TEST_F(EndToEnd, F2StartsAndF3EndsASimulatedCall)
{
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());
    m_desktop.pressKey(main, QStringLiteral("F2"));
    // The ticks find no connection; the simulated call goes on all the same.
    QThread::msleep(3500);
    EXPECT_LT(m_folder.loggedCalls(), 1) << "a call was logged while it was running";
    screenshot(main, "simulated-call");
    m_desktop.pressKey(main, QStringLiteral("F3"));
    ASSERT_TRUE(m_folder.waitForLoggedCalls(1, 3000)) << "F3 logged nothing";
    const QByteArray log = m_folder.readFile(kLog);
    expectDurationAbout(u32(log, 16), 4);
    EXPECT_EQ(u8(log, 12), 0) << "the current provider";
    EXPECT_EQ(i64(log, 20), 0) << "no tariff, no cost";
    EXPECT_EQ(u8(log, 28), 0) << "no tariff";

    m_desktop.pressKey(main, QStringLiteral("F3"));
    QThread::msleep(1500);
    EXPECT_EQ(m_folder.loggedCalls(), 1) << "a second F3 logged another call";
    ASSERT_TRUE(m_program.closeThroughDialog());
    EXPECT_EQ(m_folder.loggedCalls(), 1);
}

TEST_F(EndToEnd, InvalidProvidersFileIsReportedAndSetAside)
{
    // The right magic, one byte too long.
    QByteArray damaged(kProvidersFileSize + 1, '\x11');
    damaged.replace(0, 6, QByteArray("OLS10\0", 6));
    m_folder.writeFile(kProviders, damaged);
    ASSERT_TRUE(m_program.start());
    // The box is as tall as its text: it is the window beside the splash.
    const std::optional<Desktop::Window> splash = m_program.window(SkinLayout::Splash::kSize, 15000);
    ASSERT_TRUE(splash) << "no splash";
    const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(m_program.pid(), { *splash }, 15000);
    ASSERT_TRUE(message) << "no message about the damaged file";
    EXPECT_EQ(m_desktop.windowName(message->id), QStringLiteral("Invalid Data File"));
    screenshot(*message, "message");
    EXPECT_EQ(m_folder.readFile(QStringLiteral("MyInvalidFile.old")), damaged) << "copied before the message shows";
    m_desktop.pressKey(*message, QStringLiteral("Return"));
    waitForMainWindow();
    ASSERT_FALSE(HasFailure()) << "start-up did not go on after the message";
    ASSERT_TRUE(m_program.closeThroughDialog());

    const QByteArray providers = m_folder.readFile(kProviders);
    ASSERT_EQ(providers.size(), kProvidersFileSize);
    EXPECT_EQ(providers.left(6), QByteArray("OLS10\0", 6));
    EXPECT_EQ(providerCount(providers), 1);
    EXPECT_EQ(providerName(providers, 0), QStringLiteral("DemoEntry"));
    EXPECT_EQ(m_folder.readFile(QStringLiteral("MyInvalidFile.old")), damaged);
}

TEST_F(EndToEnd, ClosingDuringACallLogsTheCall)
{
    m_folder.writeFile(QStringLiteral("phonebook.ini"), phonebook({ { QStringLiteral("DemoEntry") } }));
    startProgram();
    ASSERT_FALSE(HasFailure());
    const QDateTime before = nowToTheSecond();
    dialConnected(QStringLiteral("DemoEntry"));
    ASSERT_FALSE(HasFailure());
    QThread::msleep(3000);
    ASSERT_TRUE(m_program.closeThroughDialog());

    ASSERT_EQ(m_folder.loggedCalls(), 1) << "the running call was lost at exit";
    const QByteArray log = m_folder.readFile(kLog);
    EXPECT_GE(u32(log, 16), 2u);
    EXPECT_LE(u32(log, 16), 6u) << "seconds from the dial to the exit";
    EXPECT_EQ(u8(log, 12), 0);
    EXPECT_GE(callStart(log, 0), before);
    const QByteArray providers = m_folder.readFile(kProviders);
    EXPECT_EQ(u16(providers, providerOffset(0) + 104), 1) << "calls to date";
    EXPECT_EQ(u32(providers, providerOffset(0) + 84), u32(log, 16)) << "seconds to date";
}

TEST_F(EndToEnd, DialButtonDialsShowsProgressAndHangsUp)
{
    // Slow enough stages for the progress window to be seen.
    m_folder.writeFile(QStringLiteral("phonebook.ini"), phonebook({ { QStringLiteral("DemoEntry"), 0.6 } }));
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());
    m_program.clickIn(main, SkinLayout::MainWindow::ButtonDial);
    const std::optional<Desktop::Window> progress = m_program.window(SkinLayout::ConnectDialog::kSize);
    ASSERT_TRUE(progress) << "no progress window";
    QThread::msleep(1000);
    screenshot(*progress, "progress");
    // It goes once the line is connected, and the call runs.
    ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *progress, 15000));
    QThread::msleep(2500);
    screenshot(main, "connected");
    EXPECT_LT(m_folder.loggedCalls(), 1);
    m_program.clickIn(main, SkinLayout::MainWindow::ButtonDial);
    ASSERT_TRUE(m_folder.waitForLoggedCalls(1, 5000)) << "hanging up logged nothing";
    const ProgramFolder::DialResult connections = m_folder.dial({});
    EXPECT_TRUE(connections.output.contains(QLatin1String("No active connections")))
        << connections.output.toStdString();
    const QByteArray log = m_folder.readFile(kLog);
    EXPECT_GE(u32(log, 16), 2u);
    EXPECT_LE(u32(log, 16), 6u);
    EXPECT_EQ(u8(log, 12), 0);
    ASSERT_TRUE(m_program.closeThroughDialog());
    EXPECT_EQ(m_folder.loggedCalls(), 1);
}

TEST_F(EndToEnd, EveryDialogOfTheMainWindowOpensAndCloses)
{
    const Desktop::Window main = startProgram();
    ASSERT_FALSE(HasFailure());
    const struct {
        QRect button;
        const char *name;
    } dialogs[] = {
        { SkinLayout::MainWindow::ButtonSettings, "settings" },
        { SkinLayout::MainWindow::ButtonEditTarifs, "tariffs" },
        { SkinLayout::MainWindow::ButtonEditConnection, "provider-account" },
        { SkinLayout::MainWindow::ButtonSkins, "about" },
    };
    const QList<Desktop::Window> before = m_desktop.windowsOf(m_program.pid());
    for (const auto &dialog : dialogs) {
        SCOPED_TRACE(dialog.name);
        m_program.clickIn(main, dialog.button);
        const std::optional<Desktop::Window> shown = m_desktop.waitForNewWindow(m_program.pid(), before, 5000);
        ASSERT_TRUE(shown) << "the button opened nothing";
        QThread::msleep(500);
        screenshot(*shown, dialog.name);
        m_desktop.pressKey(*shown, QStringLiteral("Escape"));
        ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *shown, 5000)) << "Escape did not close it";
    }

    // The dial-up service's own dialog makes a phonebook entry.
    m_program.clickIn(main, SkinLayout::MainWindow::ButtonNewConnection);
    const std::optional<Desktop::Window> newEntry = m_desktop.waitForNewWindow(m_program.pid(), before, 5000);
    ASSERT_TRUE(newEntry) << "no new-entry dialog";
    QThread::msleep(500);
    screenshot(*newEntry, "new-connection");
    m_desktop.typeText(*newEntry, QStringLiteral("TypedLine"));
    m_desktop.pressKey(*newEntry, QStringLiteral("Return"));
    ASSERT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *newEntry, 5000));
    EXPECT_TRUE(m_folder.readFile(QStringLiteral("phonebook.ini")).contains("[TypedLine]"));
}
