#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/controls/ApplicationHints.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Answers the next modal dialog by pressing the button with that object name.
void answerNextDialog(const QString &buttonName)
{
    QTimer::singleShot(0, [buttonName] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        auto *button = dialog->findChild<QAbstractButton *>(buttonName);
        ASSERT_NE(button, nullptr);
        button->click();
    });
}

class TappStartupTest : public ::testing::Test {
protected:
    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }
    std::unique_ptr<Tapp> start()
    {
        return std::make_unique<Tapp>(
            file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp }, &callLog, &blind);
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    TCallLog callLog;
    TBlind blind;
};

} // namespace

TEST_F(TappStartupTest, StartsBlankAndDocksTheLogUnderTheMainWindow)
{
    auto app = start();
    EXPECT_TRUE(app->isVisible());
    EXPECT_TRUE(app->timer().isActive());
    EXPECT_EQ(callLog.x(), app->x());
    EXPECT_EQ(callLog.y(), app->y() + app->height());
    EXPECT_EQ(blind.y(), app->y() + app->height() + callLog.height());
    EXPECT_EQ(callLog.height(), kDesignedCallLogHeight);
}

TEST_F(TappStartupTest, AnsweringNoWritesNothing)
{
    auto app = start();
    answerNextDialog(QStringLiteral("No"));
    EXPECT_FALSE(app->close());
    EXPECT_TRUE(app->timer().isActive());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(TappStartupTest, AnsweringYesWritesAllFourFiles)
{
    auto app = start();
    answerNextDialog(QStringLiteral("Yes"));
    EXPECT_TRUE(app->close());
    EXPECT_FALSE(app->timer().isActive());
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("settings.data"))));
    app.reset();
    EXPECT_EQ(QFile(file(QStringLiteral("Providers.data"))).size(), 55306);
    EXPECT_EQ(QFile(file(QStringLiteral("Log.data"))).size(), 524288);
    EXPECT_EQ(QFile(file(QStringLiteral("Tariffs.data"))).size(), 38912);
}

TEST_F(TappStartupTest, ASimulatedCallShowsOnTheLabelsAndExitLogsIt)
{
    auto app = start();
    QTest::keyClick(app.get(), Qt::Key_F2);
    for (int i = 0; i < 3; ++i) {
        clock.advanceSeconds(1);
        app->monitor().tick();
    }
    auto *duration = app->findChild<QLabel *>(QStringLiteral("LabelCurrentDuration"));
    ASSERT_NE(duration, nullptr);
    EXPECT_EQ(duration->text(), QStringLiteral("00:00:03"));
    EXPECT_TRUE(duration->font().bold());
    EXPECT_EQ(app->findChild<QLabel *>(QStringLiteral("LabelStatus"))->text(), QStringLiteral("Not Connected"))
        << "a simulated call has no line";
    EXPECT_EQ(app->findChild<QLabel *>(QStringLiteral("LabelCallTarif"))->text(), QStringLiteral("Please Add Tarifs"));

    answerNextDialog(QStringLiteral("Yes"));
    EXPECT_TRUE(app->close());
    app.reset();
    QFile log(file(QStringLiteral("Log.data")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray first = log.read(32);
    EXPECT_EQ(first.at(16), 3) << "three seconds logged";
}

TEST_F(TappStartupTest, HintsFollowTheSettingsFromTheStart)
{
    QFile settings(file(QStringLiteral("settings.data")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Application]\r\nShowHint=0\r\n");
    settings.close();
    auto app = start();
    EXPECT_FALSE(applicationHintsShown());
    EXPECT_EQ(app->style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 250);
    applyApplicationHints(true);
}

TEST_F(TappStartupTest, MinimisingTakesTheDockedWindowsAlong)
{
    auto app = start();
    for (const bool logShown : { true, false }) {
        callLog.setVisible(logShown);
        app->dockWindows();
        app->showMinimized();
        EXPECT_FALSE(callLog.isVisible()) << logShown;
        EXPECT_FALSE(blind.isVisible()) << logShown;

        app->showNormal();
        EXPECT_EQ(callLog.isVisible(), logShown) << "as the user left it";
        EXPECT_TRUE(blind.isVisible()) << logShown;
        EXPECT_EQ(blind.y(), app->y() + app->height() + (logShown ? callLog.height() : 0)) << logShown;
    }
}
