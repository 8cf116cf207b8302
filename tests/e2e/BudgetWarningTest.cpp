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
// costs 0.15 (83 %), the 61st 0.25 (139 %).
TEST_F(BudgetWarning, EachWarningShowsOnceAndNotAgainAfterARestart)
{
    m_folder.writeFile(QStringLiteral("phonebook.ini"), oneEntryPhonebook("DemoEntry"));
    m_folder.writeFile(QStringLiteral("Tariffs.data"),
        tariffsFile({ .id = 1, .name = "Daytime", .unitCost = 1000, .minCharge = 500 }));
    m_folder.writeFile(
        QStringLiteral("settings.data"), "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=1\r\n");
    m_folder.writeFile(QStringLiteral("budgets.data"), "[Budget.0]\r\nName=DemoEntry\r\nMoney=1800\r\n");

    {
        RunningProgram program(m_folder, m_desktop);
        const QList<Desktop::Window> windows = start(program);
        ASSERT_FALSE(HasFailure());
        const ProgramFolder::DialResult dialled = m_folder.dial({ QStringLiteral("DemoEntry") });
        ASSERT_EQ(dialled.exitCode, 0) << dialled.output.toStdString();
        QElapsedTimer connected;
        connected.start();

        EXPECT_TRUE(answerWarning(program, windows, 5000, "BudgetWarning-80")) << "the 80 % warning";
        EXPECT_FALSE(answerWarning(program, windows, 50000)) << "no warning between 80 % and 100 %";
        EXPECT_TRUE(answerWarning(program, windows, 70000 - int(connected.elapsed()), "BudgetWarning-100"))
            << "the 100 % warning";
        EXPECT_FALSE(answerWarning(program, windows, 4000)) << "each warning once";

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
