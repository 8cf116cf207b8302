#include "ChildProcess.h"
#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"
#include "support/SessionBusMock.h"
#include "support/StatusNotifierWatcherMock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <optional>

// The program under a real (light) window manager, which decides stacking and
// focus itself: the cases here are those where it used to go wrong.
namespace {

// A private copy of the skin, so a case can damage a picture.
bool copySkins(const ProgramFolder &folder)
{
    const QString link = folder.filePath(QStringLiteral("skins"));
    const QString source = QFileInfo(link).symLinkTarget();
    if (source.isEmpty() || !QFile::remove(link))
        return false;
    QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString to = QDir(link).filePath(QDir(source).relativeFilePath(from));
        if (!QDir().mkpath(QFileInfo(to).path()) || !QFile::copy(from, to))
            return false;
    }
    return true;
}

} // namespace

class UnderWindowManager : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.error().isEmpty()) << m_folder.error().toStdString();
        const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
        if (openbox.isEmpty())
            GTEST_SKIP() << "openbox is not installed (scripts/install-deps.sh test)";
        m_manager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        endWithTestRun(m_manager);
        m_manager.start(openbox, { QStringLiteral("--sm-disable") });
        ASSERT_TRUE(m_manager.waitForStarted(10000));
        ASSERT_TRUE(waitForManager()) << "the window manager did not take the screen";
    }

    void TearDown() override
    {
        if (HasFailure())
            std::cerr << "Program output:\n" << m_program.output().toStdString() << std::endl;
        m_manager.kill();
        m_manager.waitForFinished(5000);
    }

    // The manager announces itself on the root window once it manages the screen.
    [[nodiscard]] static bool waitForManager()
    {
        const QDeadlineTimer deadline(10000);
        do {
            QProcess xprop;
            xprop.start(
                QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK") });
            if (xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window id"))
                return true;
            QThread::msleep(100);
        } while (!deadline.hasExpired());
        return false;
    }

    // The message that shows while the program starts: it must be the
    // window with the focus, in front of the splash, or the user waits on a
    // "loading" picture for ever. Answered with Enter, as a user who can
    // see it would.
    void expectFocusedMessage(const QList<Desktop::Window> &before, const QString &name, const char *what)
    {
        const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(m_program.pid(), before, 15000);
        ASSERT_TRUE(message) << what << ": no message";
        const QDeadlineTimer deadline(5000);
        while (m_desktop.activeWindow() != message->id && !deadline.hasExpired())
            QThread::msleep(100);
        EXPECT_EQ(m_desktop.activeWindow(), message->id) << what << " is not the active window";
        if (!name.isEmpty()) {
            EXPECT_EQ(m_desktop.windowName(m_desktop.activeWindow()), name) << what;
        }
        const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_desktop.saveScreenshot(
            *message, QStringLiteral("%1-%2").arg(QLatin1String(test->name()), QLatin1String(what)));
        // Enter goes to whatever has the focus: only a focused message closes.
        QProcess::execute(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("Return") });
        EXPECT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *message, 5000)) << what << " did not take Enter";
    }

    ProgramFolder m_folder;
    Desktop m_desktop;
    RunningProgram m_program { m_folder, m_desktop };
    QProcess m_manager;
};

TEST_F(UnderWindowManager, StartUpMessagesStandInFrontOfTheSplashWithTheFocus)
{
    ASSERT_TRUE(copySkins(m_folder));
    m_folder.writeFile(QStringLiteral("skins/default/main.ubm"), "not a picture");
    m_folder.writeFile(QStringLiteral("Providers.data"), QByteArray(100, 'x'));
    ASSERT_TRUE(m_program.start());
    const std::optional<Desktop::Window> splash = m_program.window(SkinLayout::Splash::kSize, 15000);
    ASSERT_TRUE(splash) << "no splash";

    expectFocusedMessage({ *splash }, QStringLiteral("Invalid Data File"), "invalid-providers");
    expectFocusedMessage({ *splash }, QString(), "damaged-skin");

    const std::optional<Desktop::Window> main = m_program.mainWindow();
    ASSERT_TRUE(main) << "start-up did not go on after the messages";
    EXPECT_TRUE(m_desktop.waitUntilGone(m_program.pid(), SkinLayout::Splash::kSize, 10000));
    EXPECT_TRUE(m_folder.exists(QStringLiteral("MyInvalidFile.old")));
}

TEST_F(UnderWindowManager, MinimiseAndRestoreTakeTheWholeApplication)
{
    ASSERT_TRUE(m_program.start());
    const std::optional<Desktop::Window> main = m_program.mainWindow();
    ASSERT_TRUE(main);
    ASSERT_TRUE(m_desktop.waitUntilGone(m_program.pid(), SkinLayout::Splash::kSize, 10000));
    ASSERT_TRUE(m_program.window(SkinLayout::Handle::kSize));
    const QList<Desktop::Window> shown = m_desktop.windowsOf(m_program.pid());
    ASSERT_EQ(shown.size(), 3) << "main window, call log and handle";

    m_program.clickIn(*main, SkinLayout::MainWindow::ButtonMinimise);
    EXPECT_TRUE(m_desktop.waitUntilNoneShown(m_program.pid(), 5000)) << "a window stayed on the desktop";

    m_desktop.activate(*main);
    ASSERT_TRUE(m_program.mainWindow(5000)) << "the main window did not come back";
    const std::optional<Desktop::Window> handle = m_program.window(SkinLayout::Handle::kSize);
    ASSERT_TRUE(handle) << "the handle did not come back";
    const QList<Desktop::Window> back = m_desktop.windowsOf(m_program.pid());
    EXPECT_EQ(back.size(), 3);
    // Docked as before.
    for (const Desktop::Window &before : shown)
        EXPECT_TRUE(std::any_of(
            back.begin(), back.end(), [&](const Desktop::Window &now) { return now.geometry == before.geometry; }))
            << before.geometry.x() << "," << before.geometry.y() << " " << before.geometry.width() << "x"
            << before.geometry.height();
    EXPECT_TRUE(m_program.closeThroughDialog());
}

TEST_F(UnderWindowManager, ADamagedBudgetsFileIsToldAtStartUpAndKept)
{
    const QByteArray noise = QByteArray("[Budget.0]\r\nName=DemoEntry\r\nAutoHangUp=7\r\n") + QByteArray(200, '\x9d');
    m_folder.writeFile(QStringLiteral("budgets.data"), noise);
    ASSERT_TRUE(m_program.start());
    const std::optional<Desktop::Window> splash = m_program.window(SkinLayout::Splash::kSize, 15000);
    ASSERT_TRUE(splash) << "no splash";
    expectFocusedMessage({ *splash }, QString(), "damaged-budgets");
    ASSERT_TRUE(m_program.readyMainWindow());
    EXPECT_EQ(m_folder.readFile(QStringLiteral("budgets.data.old")), noise);
    EXPECT_TRUE(m_program.closeThroughDialog());
}

// The budget warning of our own call stands beside the main window without
// holding it: the countdown it speaks of takes the click.
TEST_F(UnderWindowManager, TheBudgetWarningLeavesTheCountdownClickable)
{
    m_folder.writeFile(QStringLiteral("phonebook.ini"),
        "[DemoEntry]\nPhoneNumber=0800 555 0101\nUserName=e2e\nPassword=e2e\nSavePassword=1\nAnswers=1\n"
        "FailWithError=0\nStageSeconds=0.2\nDropAfterSeconds=0\n");
    m_folder.writeFile(QStringLiteral("Tariffs.data"),
        DataFileBytes::tariffsFile({ .id = 1, .name = "Daytime", .unitCost = 1000, .minCharge = 500 }));
    m_folder.writeFile(
        QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=1\r\n");
    m_folder.writeFile(
        QStringLiteral("budgets.data"), "[Budget.0]\r\nName=DemoEntry\r\nMoney=1000\r\nAutoHangUp=1\r\n");
    ASSERT_TRUE(m_program.start());
    const std::optional<Desktop::Window> main = m_program.readyMainWindow();
    ASSERT_TRUE(main);
    QList<Desktop::Window> known = m_desktop.windowsOf(m_program.pid());
    m_program.clickIn(*main, SkinLayout::MainWindow::ButtonDial);
    if (const auto progress = m_program.window(SkinLayout::ConnectDialog::kSize))
        known.append(*progress);
    const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(m_program.pid(), known, 10000);
    ASSERT_TRUE(message) << "no warning at 150 %";
    QThread::msleep(2000);
    m_desktop.saveScreenshot(*message, QStringLiteral("TheBudgetWarningLeavesTheCountdownClickable-message"));
    m_program.clickIn(*main, SkinLayout::MainWindow::LabelSpending);
    QThread::msleep(500);
    m_desktop.saveScreenshot(*main, QStringLiteral("TheBudgetWarningLeavesTheCountdownClickable-main"));
    QThread::msleep(11000);
    EXPECT_LT(m_folder.loggedCalls(), 1) << "hung up although the countdown was clicked";
    EXPECT_FALSE(message->geometry.intersects(main->geometry)) << "the message hides the main window";
    // Answered first, by its button (the main window has the focus now): the
    // exit question is a message of the same size.
    m_program.clickIn(*message,
        QRect(QPoint(SkinLayout::MessageDialog::kButtonLeft, SkinLayout::MessageDialog::kFirstButtonTop),
            SkinLayout::MessageDialog::kButtonSize));
    EXPECT_TRUE(m_desktop.waitUntilClosed(m_program.pid(), *message, 5000));
    EXPECT_TRUE(m_program.closeThroughDialog());
}

// A start "in a Minimised state" goes to the tray where the desktop has one
// (a StatusNotifierWatcher on the session bus), and to the task bar as ever
// where it has none; from either the windows come back together.
TEST_F(UnderWindowManager, AMinimisedStartGoesToTheTrayOnlyWhereTheDesktopHasOne)
{
    for (const bool tray : { true, false }) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        SessionBusMock session;
        ASSERT_TRUE(session.error().isEmpty()) << session.error().toStdString();
        std::optional<StatusNotifierWatcherMock> watcher;
        if (tray) {
            watcher.emplace(session);
            ASSERT_TRUE(watcher->error().isEmpty()) << watcher->error().toStdString();
        }
        ProgramFolder folder;
        ASSERT_TRUE(folder.error().isEmpty()) << folder.error().toStdString();
        folder.writeFile(QStringLiteral("settings.data"), "[Application]\r\nLoadMinimised=1\r\n");
        RunningProgram program(folder, m_desktop);
        program.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), session.address());
        // The session bus alone tells whether there is a tray, whatever desktop runs the tests.
        program.setEnvironment(QStringLiteral("XDG_CURRENT_DESKTOP"), QString());
        ASSERT_TRUE(program.start());
        ASSERT_TRUE(program.window(SkinLayout::Splash::kSize, 15000)) << "no splash";
        ASSERT_TRUE(m_desktop.waitUntilGone(program.pid(), SkinLayout::Splash::kSize, 10000));
        EXPECT_TRUE(m_desktop.waitUntilNoneShown(program.pid(), 5000)) << "a window stayed on the desktop";

        std::optional<Desktop::Window> main;
        if (tray) {
            const QString item = watcher->registeredItem(10000);
            ASSERT_FALSE(item.isEmpty()) << "no tray icon\n" << program.output().toStdString();
            EXPECT_TRUE(m_desktop.minimisedWindowsOf(program.pid()).isEmpty()) << "in the task bar too";
            ASSERT_TRUE(watcher->click(item, QStringLiteral("Show")));
            main = program.mainWindow(5000);
        } else {
            QList<quint64> minimised;
            const QDeadlineTimer deadline(5000);
            while ((minimised = m_desktop.minimisedWindowsOf(program.pid())).isEmpty() && !deadline.hasExpired())
                QThread::msleep(100);
            ASSERT_EQ(minimised.size(), 1) << "the main window alone is minimised\n" << program.output().toStdString();
            m_desktop.activate({ minimised.first(), {} });
            main = program.mainWindow(5000);
        }
        ASSERT_TRUE(main) << "the main window did not come back";
        EXPECT_TRUE(program.window(SkinLayout::Handle::kSize)) << "the handle did not come back";
        EXPECT_TRUE(program.closeThroughDialog());
    }
}
