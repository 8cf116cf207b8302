#include "gui/app/TappTray.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/connection/TConnectDlg.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The program's three windows with a tray whose menu is used as the desktop
// would; the desktop itself is not needed for what the entries do.
class TappTrayTest : public ::testing::Test {
protected:
    void trigger(const QString &label)
    {
        for (QAction *action : tray.icon().menu().actions())
            if (action->text() == label) {
                action->trigger();
                return;
            }
        ADD_FAILURE() << "no menu entry " << label.toStdString();
    }
    QString showHideText()
    {
        return tray.icon().menu().actions().value(1) ? tray.icon().menu().actions().value(1)->text() : QString();
    }
    bool shown(bool callLogToo) const
    {
        return app.isVisible() && blind.isVisible() && callLog.isVisible() == callLogToo;
    }
    bool allHidden() const { return !app.isVisible() && !blind.isVisible() && !callLog.isVisible(); }

    QTemporaryDir dir;
    FakeClock clock;
    FakeDialUpService dialUp;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    TCallLog callLog;
    TBlind blind;
    Tapp app { QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp },
        &callLog, &blind };
    TappTray tray { app, callLog, blind };
};

} // namespace

TEST_F(TappTrayTest, ShowHideTakesAllWindowsAndACallLogClosedBeforeStaysClosed)
{
    ASSERT_TRUE(shown(true));
    EXPECT_EQ(showHideText(), QStringLiteral("Hide"));
    trigger(QStringLiteral("Hide"));
    EXPECT_TRUE(allHidden());
    EXPECT_EQ(showHideText(), QStringLiteral("Show"));
    trigger(QStringLiteral("Show"));
    EXPECT_TRUE(shown(true));

    callLog.hide();
    trigger(QStringLiteral("Hide"));
    EXPECT_TRUE(allHidden());
    trigger(QStringLiteral("Show"));
    EXPECT_TRUE(shown(false)) << "the call log came back although it was closed";
    EXPECT_EQ(showHideText(), QStringLiteral("Hide"));
}

// A start in the tray: nothing but the icon until the user asks.
TEST_F(TappTrayTest, AStartInTheTrayShowsNoWindowUntilShownOrTheCallLogIsAskedFor)
{
    tray.hideWindows();
    QApplication::processEvents();
    EXPECT_TRUE(allHidden());
    EXPECT_EQ(showHideText(), QStringLiteral("Show"));

    callLog.resize(TCallLog::kWidth, TCallLog::kHiddenHeight);
    trigger(QStringLiteral("Call log"));
    EXPECT_TRUE(shown(true));
    EXPECT_GT(callLog.height(), TCallLog::kHiddenHeight) << "the call log came back folded away";
}

TEST_F(TappTrayTest, ExitAsksTheExitQuestionWithTheWindowsShown)
{
    trigger(QStringLiteral("Hide"));
    bool asked = false;
    bool shownWhenAsked = false;
    // Answered No: the program goes on as it was.
    QTimer answer;
    answer.setInterval(20);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *question = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!question)
            return;
        asked = true;
        shownWhenAsked = app.isVisible();
        answer.stop();
        question->reject();
    });
    answer.start();
    trigger(QStringLiteral("Exit"));
    EXPECT_TRUE(asked) << "the program ended without its exit question";
    EXPECT_TRUE(shownWhenAsked);
    EXPECT_TRUE(app.isVisible());
}

TEST_F(TappTrayTest, DialFromTheMenuDialsTheShownEntry)
{
    dialUp.entries = { "DemoEntry" };
    app.monitor().startUp();
    app.monitor().tick();
    trigger(QStringLiteral("Dial"));
    EXPECT_TRUE(app.connectDlg().isVisible());
}
