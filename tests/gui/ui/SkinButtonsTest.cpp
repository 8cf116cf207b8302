#include "gui/controls/TGFocusButton.h"
#include "gui/controls/TGShape.h"
#include "gui/controls/TGTabButton.h"
#include "gui/controls/TGText.h"
#include "gui/controls/TGTextButton.h"

#include "SkinTestSupport.h"

#include <QSignalSpy>

#include <memory>

namespace {

const QColor kParent(10, 200, 10);
const QColor kUp(200, 0, 0);
const QColor kDown(90, 0, 0);
const QColor kHot(250, 250, 0);

// A shown window of a known colour to put buttons on.
class ButtonHost : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<QWidget>();
        host->setFixedSize(120, 60);
        host->setAutoFillBackground(true);
        QPalette palette = host->palette();
        palette.setColor(QPalette::Window, kParent);
        host->setPalette(palette);
    }
    void showHost()
    {
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }
    QColor hostPixel(int x, int y) const { return host->grab().toImage().pixelColor(x, y); }

    // A 20 × 10 three-image button at (10, 10) whose left column is the key colour.
    TGTabButton *tabButton(int groupIndex = 0)
    {
        auto *button = new TGTabButton(host.get());
        button->setTransparentColor(kKey);
        button->setBitmapUp(solidPicture({ 20, 10 }, kUp, QRect(0, 0, 1, 10)));
        button->setBitmapDown(solidPicture({ 20, 10 }, kDown, QRect(0, 0, 1, 10)));
        button->setBitmapHigh(solidPicture({ 20, 10 }, kHot, QRect(0, 0, 1, 10)));
        button->setGroupIndex(groupIndex);
        button->setGeometry(10 + 30 * int(host->findChildren<TGTabButton *>().size() - 1), 10, 20, 10);
        return button;
    }

    std::unique_ptr<QWidget> host;
};

const QPoint kInside(5, 5);
const QPoint kOutside(60, 40);

} // namespace

TEST_F(ButtonHost, PressShowsDownMovingOffShowsUpAndReleaseOverClicks)
{
    TGTabButton *button = tabButton();
    showHost();
    QSignalSpy clicks(button, &QAbstractButton::clicked);

    QTest::mousePress(button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(button->face(), ButtonFace::Down);
    EXPECT_EQ(hostPixel(15, 15), kDown);
    QTest::mouseMove(button, kOutside);
    EXPECT_EQ(button->face(), ButtonFace::Up);
    EXPECT_EQ(hostPixel(15, 15), kUp);
    QTest::mouseMove(button, kInside);
    EXPECT_EQ(button->face(), ButtonFace::Down);
    QTest::mouseRelease(button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 1);
    // Up after the release, although the pointer is still over it.
    EXPECT_EQ(button->face(), ButtonFace::Up);
    // The key-coloured column lets the window show through in every state.
    EXPECT_EQ(hostPixel(10, 15), kParent);
}

TEST_F(ButtonHost, ReleasingOffTheButtonDoesNotClick)
{
    TGTabButton *button = tabButton();
    showHost();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    QTest::mousePress(button, Qt::LeftButton, {}, kInside);
    QTest::mouseMove(button, kOutside);
    QTest::mouseRelease(button, Qt::LeftButton, {}, kOutside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button->face(), ButtonFace::Up);
}

TEST_F(ButtonHost, PointerOverShowsHotAndAMissingImageDrawsNothing)
{
    TGTabButton *button = tabButton();
    button->setBitmapHigh(QImage());
    showHost();
    QTest::mouseMove(button, kInside);
    ASSERT_TRUE(waitUntil([&] { return button->face() == ButtonFace::Hot; }));
    EXPECT_EQ(hostPixel(15, 15), kParent);
    QTest::mouseMove(host.get(), QPoint(100, 50));
    ASSERT_TRUE(waitUntil([&] { return button->face() == ButtonFace::Up; }));
    EXPECT_EQ(hostPixel(15, 15), kUp);
}

TEST_F(ButtonHost, GroupedButtonsLatch)
{
    const struct {
        const char *name;
        bool allowAllUp;
        std::vector<int> clicks; // button 0, 1 or 2 (2 is alone in another group)
        std::array<bool, 3> down;
    } cases[] = {
        { "a click latches", false, { 0 }, { true, false, false } },
        { "another in the group raises the first", false, { 0, 1 }, { false, true, false } },
        { "clicking the down one keeps it down", false, { 1, 1 }, { false, true, false } },
        { "with AllowAllUp it comes up", true, { 1, 1 }, { false, false, false } },
        { "other groups are left alone", false, { 2, 0 }, { true, false, true } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        std::array<TGTabButton *, 3> buttons = { tabButton(1), tabButton(1), tabButton(2) };
        for (TGTabButton *b : buttons)
            b->setAllowAllUp(c.allowAllUp);
        showHost();
        for (int i : c.clicks)
            QTest::mouseClick(buttons[std::size_t(i)], Qt::LeftButton, {}, kInside);
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            EXPECT_EQ(buttons[i]->property("Down").toBool(), c.down[i]) << "button " << i;
            EXPECT_EQ(buttons[i]->face() == ButtonFace::Down, c.down[i]) << "button " << i;
        }
    }
}

TEST_F(ButtonHost, UngroupedButtonNeverStaysDown)
{
    TGTabButton *button = tabButton(0);
    showHost();
    button->setProperty("Down", true);
    QTest::mouseClick(button, Qt::LeftButton, {}, kInside);
    EXPECT_FALSE(button->property("Down").toBool());
    EXPECT_EQ(button->face(), ButtonFace::Up);
}

TEST_F(ButtonHost, HeldButtonRepeatsAfterTheInitialDelay)
{
    TGTabButton *button = tabButton();
    EXPECT_EQ(button->property("Delay").toInt(), 100);
    EXPECT_EQ(button->property("InitialDelay").toInt(), 400);
    button->setAutoRepeat(true);
    button->setProperty("InitialDelay", 300);
    button->setProperty("Delay", 20);
    showHost();
    QSignalSpy clicks(button, &QAbstractButton::clicked);

    QTest::mousePress(button, Qt::LeftButton, {}, kInside);
    QTest::qWait(100);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_TRUE(waitUntil([&] { return clicks.count() >= 3; }));
    // Off the button the repeats stop, and a release there adds nothing.
    QTest::mouseMove(button, kOutside);
    const qsizetype held = clicks.count();
    QTest::qWait(100);
    QTest::mouseRelease(button, Qt::LeftButton, {}, kOutside);
    EXPECT_EQ(clicks.count(), held);
}

TEST_F(ButtonHost, DisabledButtonIgnoresTheMouse)
{
    TGTabButton *button = tabButton();
    showHost();
    QSignalSpy clicks(button, &QAbstractButton::clicked);
    button->setEnabled(false);
    QTest::mouseClick(button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(button->face(), ButtonFace::Disabled);
    // Its up picture faded to 45 % over the parent: 10 + 0.45 (200 - 10), 200 - 0.45 200, 10 - 0.45 10.
    const QColor faded = hostPixel(15, 15);
    EXPECT_NEAR(faded.red(), 95.5, 1);
    EXPECT_NEAR(faded.green(), 110, 1);
    EXPECT_NEAR(faded.blue(), 5.5, 1);
    button->setEnabled(true);
    QTest::mouseClick(button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ButtonHost, TextButtonColoursFollowItsState)
{
    auto *button = new TGTextButton(host.get());
    TextButtonAppearance look;
    look.Color = QColor(1, 1, 1);
    look.ColorHot = QColor(2, 2, 2);
    look.ColorDown = QColor(3, 3, 3);
    look.ColorDisabled = QColor(4, 4, 4);
    look.FrameUpColor = QColor(11, 11, 11);
    look.FrameHotColor = QColor(12, 12, 12);
    look.FrameDownColor = QColor(13, 13, 13);
    look.FrameDisabledColor = QColor(14, 14, 14);
    button->setAppearance(look);
    button->setText(QStringLiteral("x"));
    button->setGeometry(10, 10, 60, 24);
    showHost();
    const auto expectLook = [&](QColor frame, QColor background) {
        EXPECT_EQ(hostPixel(10, 10), frame);
        EXPECT_EQ(hostPixel(12, 12), background);
    };
    {
        SCOPED_TRACE("up");
        expectLook(look.FrameUpColor, look.Color);
    }
    {
        SCOPED_TRACE("hot");
        QTest::mouseMove(button, kInside);
        ASSERT_TRUE(waitUntil([&] { return button->face() == ButtonFace::Hot; }));
        expectLook(look.FrameHotColor, look.ColorHot);
    }
    {
        SCOPED_TRACE("down");
        QTest::mousePress(button, Qt::LeftButton, {}, kInside);
        expectLook(look.FrameDownColor, look.ColorDown);
        QTest::mouseRelease(button, Qt::LeftButton, {}, kInside);
    }
    {
        SCOPED_TRACE("disabled");
        button->setEnabled(false);
        expectLook(look.FrameDisabledColor, look.ColorDisabled);
    }
    {
        SCOPED_TRACE("unframed");
        look.Framed = false;
        button->setAppearance(look);
        expectLook(look.ColorDisabled, look.ColorDisabled);
    }
    {
        SCOPED_TRACE("rounded: the window shows through the corners");
        look.Radius = 12;
        button->setAppearance(look);
        EXPECT_EQ(hostPixel(10, 10), kParent);
        EXPECT_EQ(hostPixel(25, 22), look.ColorDisabled);
    }
}

TEST_F(ButtonHost, FocusButtonsTakeTurnsAndAnswerTheKeyboard)
{
    std::array<TGFocusButton *, 3> buttons {};
    std::array<int, 3> clicks {};
    for (int i = 0; i < 3; ++i) {
        buttons[std::size_t(i)] = new TGFocusButton(host.get());
        buttons[std::size_t(i)]->setGeometry(5 + 38 * i, 10, 34, 20);
        QObject::connect(
            buttons[std::size_t(i)], &QAbstractButton::clicked, [&clicks, i] { ++clicks[std::size_t(i)]; });
    }
    showHost();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    buttons[0]->setFocus();
    ASSERT_TRUE(buttons[0]->hasFocus());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(buttons[1]->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(buttons[2]->hasFocus());

    const struct {
        Qt::Key key;
        std::size_t button;
    } presses[] = { { Qt::Key_Space, 2 }, { Qt::Key_Return, 2 }, { Qt::Key_Enter, 2 } };
    for (const auto &p : presses)
        QTest::keyClick(buttons[p.button], p.key);
    EXPECT_EQ(clicks, (std::array<int, 3> { 0, 0, 3 }));

    // Held down, it looks pressed; the click comes with the release.
    QTest::keyPress(buttons[2], Qt::Key_Return);
    EXPECT_EQ(buttons[2]->face(), ButtonFace::Down);
    EXPECT_EQ(clicks[2], 3);
    QTest::keyRelease(buttons[2], Qt::Key_Return);
    EXPECT_EQ(clicks[2], 4);
    // A release whose press this button never saw does nothing.
    QTest::keyRelease(buttons[2], Qt::Key_Return);
    EXPECT_EQ(clicks[2], 4);
}

TEST_F(ButtonHost, FocusFrameShowsOnlyOnTheFocusedButton)
{
    auto *first = new TGFocusButton(host.get());
    auto *second = new TGFocusButton(host.get());
    TextButtonAppearance look;
    look.FrameFocusColor = QColor(255, 0, 255);
    for (TGFocusButton *b : { first, second })
        b->setAppearance(look);
    first->setGeometry(0, 0, 50, 30);
    second->setGeometry(60, 0, 50, 30);
    showHost();
    host->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(host.get()));
    first->setFocus();
    const auto focusPixels = [&](int left) {
        const QImage shot = host->grab().toImage();
        int count = 0;
        for (int x = left + 3; x < left + 47; ++x)
            count += shot.pixelColor(x, 3) == look.FrameFocusColor;
        return count;
    };
    EXPECT_GT(focusPixels(0), 5);
    EXPECT_EQ(focusPixels(60), 0);
    first->setShowsFocusFrame(false);
    EXPECT_EQ(focusPixels(0), 0);
}

TEST_F(ButtonHost, TurnedTextRunsUpwards)
{
    const auto paintedBounds = [&](int angle, QPoint origin) {
        SetUp();
        auto *text = new TGText(host.get());
        text->setGeometry(0, 0, 120, 60);
        text->setColor(Qt::white);
        text->setFontColor(Qt::black);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(16);
        text->setFont(font);
        text->setCaption(QStringLiteral("WWWW"));
        text->setAngle(angle);
        text->setOrigin(origin);
        const QImage shot = text->grab().toImage();
        QRect bounds;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (qGray(shot.pixel(x, y)) < 128)
                    bounds |= QRect(x, y, 1, 1);
        return bounds;
    };
    const QRect flat = paintedBounds(0, QPoint(4, 4));
    EXPECT_GT(flat.width(), flat.height());
    EXPECT_GE(flat.top(), 4);
    const QRect upright = paintedBounds(90, QPoint(4, 56));
    EXPECT_GT(upright.height(), upright.width());
    // From the origin the text goes up and lies to the right of it.
    EXPECT_LE(upright.bottom(), 56);
    EXPECT_GE(upright.left(), 4);
}

TEST_F(ButtonHost, ShapeFillsOutlinesAndReportsPresses)
{
    auto *shape = new TGShape(host.get());
    shape->setGeometry(10, 10, 30, 20);
    shape->setBrush(QColor(200, 0, 0));
    shape->setPen(QPen(QColor(0, 0, 0), 1));
    showHost();
    EXPECT_EQ(hostPixel(10, 10), QColor(0, 0, 0));
    EXPECT_EQ(hostPixel(39, 29), QColor(0, 0, 0));
    EXPECT_EQ(hostPixel(20, 20), QColor(200, 0, 0));
    QSignalSpy presses(shape, &TGShape::mouseDown);
    QTest::mousePress(shape, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(presses.count(), 1);
    EXPECT_EQ(presses.first().first().value<Qt::MouseButton>(), Qt::LeftButton);
}
