#include "app/Tapp.h"
#include "calllog/TCallLog.h"
#include "ui/TBlind.h"

#include "support/FakeClock.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
        return std::make_unique<Tapp>(file(QStringLiteral("tollwise")), AppServices{clock, sound, startup}, &callLog,
                                      &blind);
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
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
