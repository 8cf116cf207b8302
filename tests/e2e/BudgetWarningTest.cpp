#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

using namespace DataFileBytes;

namespace {

QByteArray oneEntryPhonebook(const QByteArray &name)
{
    return "[" + name
        + "]\nPhoneNumber=0800 555 0101\nUserName=e2e\nPassword=e2e\nSavePassword=1\nAnswers=1\n"
          "FailWithError=0\nStageSeconds=0.2\nDropAfterSeconds=0\n";
}

} // namespace

class BudgetWarning : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.error().isEmpty()) << m_folder.error().toStdString(); }

    // One entry, 0.10 a minute after a 0.05 minimum, and the budgets given.
    void prepare(const QByteArray &budgets) const
    {
        m_folder.writeFile(QStringLiteral("phonebook.ini"), oneEntryPhonebook("DemoEntry"));
        m_folder.writeFile(QStringLiteral("Tariffs.data"),
            tariffsFile({ .id = 1, .name = "Daytime", .unitCost = 1000, .minCharge = 500 }));
        m_folder.writeFile(
            QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=1\r\n");
        m_folder.writeFile(QStringLiteral("budgets.data"), budgets);
    }

    // Starts the program and returns its windows once the first ticks have run.
    QList<Desktop::Window> start(RunningProgram &program) const
    {
        EXPECT_TRUE(program.start());
        EXPECT_TRUE(program.mainWindow());
        EXPECT_TRUE(m_desktop.waitUntilGone(program.pid(), SkinLayout::Splash::kSize, 10000));
        QThread::msleep(1500);
        return m_desktop.windowsOf(program.pid());
    }

    // A message window that shows within `ms`, answered with Enter; false when none showed.
    bool answerWarning(
        const RunningProgram &program, const QList<Desktop::Window> &known, int ms, const char *picture = nullptr) const
    {
        const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(program.pid(), known, ms);
        if (!message)
            return false;
        if (picture)
            m_desktop.saveScreenshot(*message, QString::fromLatin1(picture));
        m_desktop.pressKey(*message, QStringLiteral("Return"));
        EXPECT_TRUE(m_desktop.waitUntilClosed(program.pid(), *message, 5000));
        return true;
    }

    ProgramFolder m_folder;
    Desktop m_desktop;
};

// 0.10 a minute with 0.05 a call against a budget of 0.18: the first second
// costs 0.15 (83 %), the 61st 0.25 (138 %), which is told with the first.
TEST_F(BudgetWarning, EachWarningShowsOnceAndNotAgainAfterARestart)
{
    prepare("[Budget.0]\r\nName=DemoEntry\r\nMoney=1800\r\n");

    {
        RunningProgram program(m_folder, m_desktop);
        const QList<Desktop::Window> windows = start(program);
        ASSERT_FALSE(HasFailure());
        const ProgramFolder::DialResult dialled = m_folder.dial({ QStringLiteral("DemoEntry") });
        ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
        QElapsedTimer connected;
        connected.start();

        EXPECT_TRUE(answerWarning(program, windows, 5000, "BudgetWarning-80")) << "the 80 % warning";
        EXPECT_FALSE(answerWarning(program, windows, 70000 - int(connected.elapsed())))
            << "the 61st second's leap to 138 % was told with the 80 % warning";

        ASSERT_EQ(m_folder.dial({ QStringLiteral("DemoEntry"), QStringLiteral("/disconnect") }).exitCode, 0);
        ASSERT_TRUE(program.closeThroughDialog());
    }
    EXPECT_TRUE(m_folder.readFile(QStringLiteral("budgets.data")).contains("WarnedLevels=7"));

    RunningProgram again(m_folder, m_desktop);
    const QList<Desktop::Window> windows = start(again);
    ASSERT_FALSE(HasFailure());
    EXPECT_FALSE(answerWarning(again, windows, 5000)) << "the warnings were given in this cycle already";
    ASSERT_TRUE(again.closeThroughDialog());
}

// Against 0.20 the first second is 75 %; the 61st second's unit would take
// the call to 125 %, so the warning comes before it, at the start.
TEST_F(BudgetWarning, AUnitThatLeapsOverAThresholdIsToldBeforeItIsCharged)
{
    prepare("[Budget.0]\r\nName=DemoEntry\r\nMoney=2000\r\n");
    RunningProgram program(m_folder, m_desktop);
    const QList<Desktop::Window> windows = start(program);
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(m_folder.dial({ QStringLiteral("DemoEntry") }).exitCode, 0);
    EXPECT_TRUE(answerWarning(program, windows, 8000, "BudgetWarning-ahead")) << "no warning before the 61st second";
    ASSERT_EQ(m_folder.dial({ QStringLiteral("DemoEntry"), QStringLiteral("/disconnect") }).exitCode, 0);
    ASSERT_TRUE(program.closeThroughDialog());
}

// Our own call over its budget with the automatic hang-up on: the message
// asks for a click on the countdown, and that click must reach it.
TEST_F(BudgetWarning, TheCountdownCanBeCancelledWhileItsMessageIsOpen)
{
    prepare("[Budget.0]\r\nName=DemoEntry\r\nMoney=1000\r\nAutoHangUp=1\r\n");
    RunningProgram program(m_folder, m_desktop);
    QList<Desktop::Window> known = start(program);
    ASSERT_FALSE(HasFailure());
    const std::optional<Desktop::Window> main = program.mainWindow();
    ASSERT_TRUE(main);
    program.clickIn(*main, SkinLayout::MainWindow::ButtonDial);
    if (const auto progress = program.window(SkinLayout::ConnectDialog::kSize))
        known.append(*progress);
    const std::optional<Desktop::Window> message = m_desktop.waitForNewWindow(program.pid(), known, 10000);
    ASSERT_TRUE(message) << "no warning at 150 %";
    QThread::msleep(3000);
    m_desktop.saveScreenshot(*message, QStringLiteral("BudgetWarning-countdown-message"));
    m_desktop.saveScreenshot(*main, QStringLiteral("BudgetWarning-countdown"));
    ASSERT_FALSE(
        message->geometry.intersects(SkinLayout::MainWindow::LabelSpending.translated(main->geometry.topLeft())))
        << "the message hides the countdown";
    program.clickIn(*main, SkinLayout::MainWindow::LabelSpending);
    QThread::msleep(12000);
    EXPECT_LT(m_folder.loggedCalls(), 1) << "hung up although the countdown was clicked";
    m_desktop.saveScreenshot(*main, QStringLiteral("BudgetWarning-countdown-cancelled"));

    m_desktop.pressKey(*message, QStringLiteral("Return"));
    EXPECT_TRUE(m_desktop.waitUntilClosed(program.pid(), *message, 5000));
    program.clickIn(*main, SkinLayout::MainWindow::ButtonDial);
    EXPECT_TRUE(m_folder.waitForLoggedCalls(1, 5000));
    ASSERT_TRUE(program.closeThroughDialog());
}

TEST_F(BudgetWarning, AChangedBudgetIsWrittenWhenTheAccountDialogCloses)
{
    prepare("[Budget.0]\r\nName=DemoEntry\r\nMoney=10000\r\n");
    {
        RunningProgram program(m_folder, m_desktop);
        const QList<Desktop::Window> windows = start(program);
        ASSERT_FALSE(HasFailure());
        const std::optional<Desktop::Window> main = program.mainWindow();
        ASSERT_TRUE(main);
        program.clickIn(*main, SkinLayout::MainWindow::ButtonEditConnection);
        const std::optional<Desktop::Window> account = program.window(SkinLayout::ProviderDialog::kSize);
        ASSERT_TRUE(account) << "no account dialog";
        namespace Account = SkinLayout::ProviderDialog;
        program.clickIn(*account, Account::ButtonEdit);
        QThread::msleep(300);
        program.clickIn(*account, Account::BudgetMoney);
        m_desktop.pressKey(*account, QStringLiteral("ctrl+a"));
        m_desktop.typeText(*account, QStringLiteral("2.50"));
        program.clickIn(*account, Account::ButtonSave);
        QThread::msleep(300);
        m_desktop.saveScreenshot(*account, QStringLiteral("BudgetWarning-account-saved"));
        program.clickIn(*account, Account::ButtonClose);
        ASSERT_TRUE(m_desktop.waitUntilClosed(program.pid(), *account, 5000));
        QThread::msleep(500);
        EXPECT_TRUE(m_folder.readFile(QStringLiteral("budgets.data")).contains("Money=25000"))
            << m_folder.readFile(QStringLiteral("budgets.data")).toStdString();
    } // killed, not closed: nothing is written at an exit
    RunningProgram again(m_folder, m_desktop);
    start(again);
    EXPECT_TRUE(m_folder.readFile(QStringLiteral("budgets.data")).contains("Money=25000"));
    ASSERT_TRUE(again.closeThroughDialog());
}
