#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/connection/TConnectDlg.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/dialogs/TAbout.h"
#include "gui/dialogs/TSettings.h"
#include "gui/dialogs/Tsplash.h"
#include "gui/messages/SkinDamageReport.h"
#include "gui/messages/TDynaMessageBoxDlg.h"
#include "gui/messages/TMessDlg.h"
#include "gui/providers/TProviderEdit.h"

#include "SkinTestSupport.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <memory>

namespace {

const QColor kMain(180, 40, 40);
const QColor kMainSpot(40, 180, 40);
const QColor kLogTop(40, 40, 160);
const QColor kLogSide(60, 160, 60);
const QColor kLogBottom(160, 160, 40);
const QColor kHandle(120, 90, 200);
const QColor kConnection(220, 200, 120);
const QColor kConfirm(250, 240, 200);

QImage callLogSkin()
{
    QImage skin = solidPicture({ 492, 272 }, kLogSide, QRect(0, 0, 6, 6));
    QPainter painter(&skin);
    painter.fillRect(QRect(6, 0, 486, 6), kLogTop);
    painter.fillRect(QRect(0, 6, 492, 59), kLogTop);
    painter.fillRect(QRect(0, 197, 492, 75), kLogBottom);
    return skin;
}

QImage mainSkin()
{
    QImage skin = solidPicture({ 300, 150 }, kMain, QRect(0, 0, 10, 10));
    QPainter painter(&skin);
    painter.fillRect(QRect(250, 20, 20, 20), kMainSpot);
    return skin;
}

// Press at `from`, move to `to` with the button held, release there.
void drag(QWidget *widget, QPoint from, QPoint to)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

class SkinnedWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        skins.add(QStringLiteral("main"), mainSkin());
        skins.add(QStringLiteral("CallLog"), callLogSkin());
        skins.add(QStringLiteral("Handle"), solidPicture({ 492, 14 }, kHandle));
        skins.add(QStringLiteral("connection"), solidPicture({ 320, 240 }, kConnection, QRect(312, 0, 8, 8)));
        skins.add(QStringLiteral("Confirm"), solidPicture({ 460, 210 }, kConfirm, QRect(0, 0, 8, 8)));
    }
    void startApp()
    {
        callLog = std::make_unique<TCallLog>();
        blind = std::make_unique<TBlind>();
        app = std::make_unique<Tapp>(skins.file(QStringLiteral("tollwise")),
            AppServices { clock, sound, startup, dialUp }, callLog.get(), blind.get());
    }
    // The window as the screen would show it, through a PNG file.
    QImage shoot(QWidget &window, const QString &name)
    {
        const QString path = skins.file(name + QStringLiteral(".png"));
        EXPECT_TRUE(window.grab().save(path, "PNG"));
        return QImage(path);
    }

    SkinFolder skins;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    std::unique_ptr<TCallLog> callLog;
    std::unique_ptr<TBlind> blind;
    std::unique_ptr<Tapp> app;
};

} // namespace

TEST_F(SkinnedWindows, MainWindowCallLogAndHandleShowTheirSkins)
{
    startApp();
    EXPECT_EQ(app->size(), QSize(300, 150));
    const QImage main = shoot(*app, QStringLiteral("main"));
    EXPECT_EQ(main.pixelColor(260, 30), kMainSpot);
    EXPECT_EQ(main.pixelColor(290, 140), kMain);
    EXPECT_FALSE(app->mask().contains(QPoint(2, 2)));
    EXPECT_TRUE(app->mask().contains(QPoint(150, 140)));

    ASSERT_EQ(callLog->height(), 272);
    const QImage log = shoot(*callLog, QStringLiteral("calllog"));
    EXPECT_EQ(log.pixelColor(100, 10), kLogTop);
    EXPECT_EQ(log.pixelColor(5, 100), kLogSide);
    EXPECT_EQ(log.pixelColor(486, 100), kLogSide);
    EXPECT_EQ(log.pixelColor(30, 250), kLogBottom);
    EXPECT_FALSE(callLog->mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(callLog->mask().contains(QPoint(100, 100)));

    // Taller: the sides stretch and the bottom strip moves down with the edge.
    callLog->resize(TCallLog::kWidth, 400);
    const QImage tall = shoot(*callLog, QStringLiteral("calllog-tall"));
    EXPECT_EQ(tall.pixelColor(5, 300), kLogSide);
    EXPECT_EQ(tall.pixelColor(100, 390), kLogBottom);
    EXPECT_EQ(tall.pixelColor(100, 250), QColor(255, 255, 255));

    EXPECT_EQ(blind->size(), QSize(492, 14));
    EXPECT_EQ(shoot(*blind, QStringLiteral("handle")).pixelColor(200, 7), kHandle);
}

TEST_F(SkinnedWindows, DialogsShowTheirSkins)
{
    TConnectDlg connect;
    EXPECT_EQ(connect.size(), QSize(320, 240));
    EXPECT_EQ(shoot(connect, QStringLiteral("connection")).pixelColor(2, 2), kConnection);
    EXPECT_FALSE(connect.mask().contains(QPoint(316, 3)));
    EXPECT_TRUE(connect.mask().contains(QPoint(3, 3)));

    TMessDlg message(mtConfirm, QStringLiteral("Sure?"), mbYes | mbNo);
    const QImage shot = shoot(message, QStringLiteral("message"));
    EXPECT_EQ(shot.pixelColor(10, 200), kConfirm);
    EXPECT_EQ(shot.pixelColor(411, 23), QColor(160, 172, 186)); // the Yes button's edge
    EXPECT_EQ(shot.pixelColor(390, 52), QColor(226, 232, 240)); // the No button's face

    TDynaMessageBoxDlg box(400, 400, mtError, mbOK, QStringLiteral("text"), QStringLiteral("Invalid Data File"),
        QStringLiteral("error"), {});
    const QImage code = shoot(box, QStringLiteral("dyna"));
    // Like the skin's messages: a light body, the error strip down the left
    // edge, the text in a white well.
    EXPECT_GT(code.pixelColor(200, 2).lightness(), 220);
    EXPECT_EQ(code.pixelColor(3, code.height() / 2), QColor(210, 58, 48));
    EXPECT_GT(code.pixelColor(box.PanelInner->geometry().center()).lightness(), 240);
}

TEST_F(SkinnedWindows, MissingBackgroundKeepsAPlainRectangle)
{
    SkinFolder empty;
    TConnectDlg connect;
    EXPECT_TRUE(connect.mask().isEmpty());
    EXPECT_EQ(connect.size(), SkinLayout::ConnectDialog::kSize) << "the size the controls are laid out for";
    EXPECT_TRUE(connect.windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(SkinnedWindows, ABackgroundShowsEveryPixelOfItsPictureWhateverTheFileFormat)
{
    // Skin files hold 8-, 16-, 24- and 32-bit pictures; each is shown exactly as loaded.
    QImage colours(64, 32, QImage::Format_RGB32);
    for (int y = 0; y < colours.height(); ++y)
        for (int x = 0; x < colours.width(); ++x)
            colours.setPixel(x, y, qRgb(x * 4, y * 8, (x * 7 + y * 13) % 256));
    for (const QImage::Format format : { QImage::Format_Indexed8, QImage::Format_RGB555, QImage::Format_RGB16,
             QImage::Format_BGR888, QImage::Format_RGB32 }) {
        const QImage picture = colours.convertToFormat(format);
        QWidget window;
        auto *background = new TCutTransImage(&window);
        background->setPicture(picture);
        background->RebuildOutline();
        const QImage shown = window.grab().toImage();
        ASSERT_EQ(shown.size(), picture.size()) << format;
        int wrong = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                wrong += shown.pixel(x, y) != picture.pixel(x, y);
        EXPECT_EQ(wrong, 0) << "pixels not as in the picture, format " << format;
    }
}

TEST_F(SkinnedWindows, AllKeyPictureStillLeavesTheWindowReachable)
{
    SkinFolder keyOnly;
    keyOnly.add(QStringLiteral("connection"), solidPicture({ 50, 40 }, kKey));
    TConnectDlg connect;
    EXPECT_EQ(connect.size(), QSize(50, 40));
    EXPECT_TRUE(connect.mask().isEmpty());
}

TEST_F(SkinnedWindows, DraggingTheBackgroundMovesTheMainWindowAndItsDockedWindows)
{
    startApp();
    auto *background = app->findChild<TCutTransImage *>(QStringLiteral("CutTransImage1"));
    ASSERT_NE(background, nullptr);
    const QPoint start = app->pos();
    drag(background, QPoint(200, 100), QPoint(240, 125));
    EXPECT_EQ(app->pos(), start + QPoint(40, 25));
    EXPECT_EQ(callLog->pos(), app->pos() + QPoint(0, app->height()));
    EXPECT_EQ(blind->pos(), callLog->pos() + QPoint(0, callLog->height()));

    // A plain label on the background drags as the background does.
    auto *label = app->findChild<QLabel *>(QStringLiteral("LabelStatus"));
    ASSERT_NE(label, nullptr);
    const QPoint before = app->pos();
    drag(label, QPoint(5, 5), QPoint(15, 5));
    EXPECT_EQ(app->pos(), before + QPoint(10, 0));

    // The call log itself stays where it is docked.
    const QPoint logAt = callLog->pos();
    drag(callLog.get(), QPoint(100, 100), QPoint(150, 160));
    EXPECT_EQ(callLog->pos(), logAt);
}

TEST_F(SkinnedWindows, DialogsMoveByTheirBackground)
{
    TConnectDlg connect;
    connect.move(100, 100);
    connect.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&connect));
    drag(connect.background, QPoint(3, 3), QPoint(13, 23));
    EXPECT_EQ(connect.pos(), QPoint(110, 120));

    TDynaMessageBoxDlg box(300, 200, mtAdvice, mbOK, QString(), QString(), QString(), {});
    box.move(50, 50);
    QTest::mousePress(box.PanelInner, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(box.PanelInner, QPoint(5, 30));
    EXPECT_EQ(box.pos(), QPoint(45, 70));

    // The dialogs that paint their own background move by it too, with or
    // without a window manager.
    startApp();
    TSettings settings(app->core());
    TProviderEdit account(app->core(), dialUp);
    for (QDialog *dialog : std::initializer_list<QDialog *> { &settings, &account }) {
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
        const QPoint start = dialog->pos();
        drag(dialog, QPoint(4, 4), QPoint(24, 14));
        EXPECT_EQ(dialog->pos(), start + QPoint(20, 10)) << dialog->objectName().toStdString();
        dialog->hide();
    }
}

TEST_F(SkinnedWindows, MissingOrDamagedMainPictureKeepsTheDarkLookAndItsCaptions)
{
    reportDamagedSkinImages();
    for (const bool damaged : { false, true }) {
        SkinFolder folder;
        QString reported;
        if (damaged) {
            QFile file(QDir(SkinLibrary::skinFolder()).filePath(QStringLiteral("main.ubm")));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("not a picture at all");
            file.close();
            QTimer::singleShot(0, [&reported] {
                QWidget *message = QApplication::activeModalWidget();
                ASSERT_NE(message, nullptr);
                reported = message->findChild<QLabel *>(QStringLiteral("Label1"))->text();
                message->findChild<QAbstractButton *>(QStringLiteral("OK"))->click();
            });
        }
        startApp();
        if (damaged) {
            EXPECT_TRUE(reported.contains(QStringLiteral("DIB File Format Unrecognized !")));
            EXPECT_TRUE(reported.contains(QStringLiteral("\"main.ubm\""))) << reported.toStdString();
            EXPECT_TRUE(reported.contains(QStringLiteral("built-in picture")));
        }
        EXPECT_EQ(app->size(), SkinLayout::MainWindow::kSize);
        const QImage shot = shoot(*app, QStringLiteral("fallback"));
        // Light figures on dark panels, dark names on light fields.
        const QPoint todayPanel = SkinLayout::MainWindow::TodayPanel.topLeft() + QPoint(100, 8);
        EXPECT_LT(shot.pixelColor(todayPanel).lightness(), 60) << damaged;
        EXPECT_GT(shot.pixelColor(SkinLayout::MainWindow::grpSelectedEntry.center()).lightness(), 200) << damaged;
        // The painted captions are there: some light text at the left of the Time row.
        int lit = 0;
        for (int x = 22; x < 50; ++x)
            for (int y = 188; y < 200; ++y)
                lit += shot.pixelColor(x, y).lightness() > 100;
        EXPECT_GT(lit, 5) << "\"Time\" " << damaged;
        app.reset();
    }
    SkinLibrary::setDamageHandler({});
}

TEST_F(SkinnedWindows, HandleClickTogglesTheLogAndDragPullsItsEdge)
{
    startApp();
    const int mainBottom = app->y() + app->height();
    QTest::mouseClick(blind.get(), Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_FALSE(callLog->isVisible());
    EXPECT_EQ(blind->y(), mainBottom);
    QTest::mouseClick(blind.get(), Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_TRUE(callLog->isVisible());
    EXPECT_EQ(blind->y(), mainBottom + callLog->height());

    // A press that travels 2 pixels is still a click.
    drag(blind.get(), QPoint(100, 5), QPoint(101, 6));
    EXPECT_FALSE(callLog->isVisible());
    QTest::mouseClick(blind.get(), Qt::LeftButton, {}, QPoint(100, 5));
    ASSERT_TRUE(callLog->isVisible());

    const int before = callLog->height();
    drag(blind.get(), QPoint(100, 5), QPoint(100, 35));
    EXPECT_EQ(callLog->height(), before + 30);
    EXPECT_TRUE(callLog->isVisible());
    EXPECT_EQ(blind->y(), mainBottom + before + 30);

    // Pushed right up, the log closes and the handle sits under the main window.
    drag(blind.get(), QPoint(100, 5), QPoint(100, 5 - 1000));
    EXPECT_FALSE(callLog->isVisible());
    EXPECT_EQ(blind->y(), mainBottom);
    // A click then brings it back at a useful height.
    QTest::mouseClick(blind.get(), Qt::LeftButton, {}, QPoint(100, 5));
    EXPECT_TRUE(callLog->isVisible());
    EXPECT_EQ(callLog->height(), kDesignedCallLogHeight);
}

TEST(Splash, SaysLoadingAndStaysUpTwoSeconds)
{
    Tsplash splash;
    QElapsedTimer timer;
    timer.start();
    splash.showNow();
    EXPECT_EQ(splash.size(), QSize(456, 366));
    EXPECT_EQ(splash.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("loading"));
    const QImage picture = splash.grab().toImage();
    EXPECT_NEAR(picture.pixelColor(0, 0).red(), 20, 3);
    EXPECT_NEAR(picture.pixelColor(0, 0).blue(), 90, 3);
    splash.closeWhenDue();
    EXPECT_GE(timer.elapsed(), Tsplash::kMinimumMilliseconds);
    EXPECT_FALSE(splash.isVisible());
}

TEST(About, MessagesTravelAndAClickCloses)
{
    const QStringList messages = TAbout::messages();
    ASSERT_EQ(messages.size(), 5);
    EXPECT_TRUE(messages[0].contains(QLatin1String("https://tollwise.example.org")));
    EXPECT_TRUE(messages[0].contains(QLatin1String("support@tollwise.example.org")));
    EXPECT_EQ(messages.mid(1),
        (QStringList { QStringLiteral("A few little messages"), QStringLiteral("that go round and around"),
            QStringLiteral("the top of the screen"), QStringLiteral("Fin Des Messages") }));

    TAbout about;
    EXPECT_EQ(about.timer().interval(), 25);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowStaysOnTopHint);
    // Before the line comes in, the strip is empty.
    EXPECT_EQ(about.grab().toImage().pixelColor(10, 10), QColor(0, 0, 0));

    DialogGuard guard;
    bool travelled = false;
    whenDialogOpens([&](QDialog *dialog) {
        auto *box = static_cast<TAbout *>(dialog);
        travelled = waitUntil([&] { return box->line().x() < box->width() - 3; });
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(200, 150));
    });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
    EXPECT_TRUE(travelled);
}
