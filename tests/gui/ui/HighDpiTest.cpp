#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGTabButton.h"

#include "SkinTestSupport.h"

#include <cstdlib>

namespace {

// Every window of this test program runs at two device pixels per logical
// pixel; it must be set before the application object exists.
const bool kScaled = [] {
    qputenv("QT_SCALE_FACTOR", "2");
    return true;
}();

const QColor kLeft(200, 30, 30);
const QColor kRight(30, 200, 30);

} // namespace

TEST(HighDpi, SkinIsDrawnInWholeDevicePixelsAndTheOutlineScalesWithIt)
{
    ASSERT_TRUE(kScaled);
    SkinFolder skins;
    // 6 × 4: left half one colour, right half another, a key pixel at (0, 0).
    QImage skin = solidPicture({ 6, 4 }, kLeft, QRect(0, 0, 1, 1));
    {
        QPainter painter(&skin);
        painter.fillRect(QRect(3, 0, 3, 4), kRight);
    }
    skins.add(QStringLiteral("Shape"), skin);

    QWidget window;
    auto *background = new TCutTransImage(&window);
    background->setTransColor(kKey);
    ASSERT_TRUE(background->loadSkin(QStringLiteral("Shape")));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(window.devicePixelRatio(), 2);
    EXPECT_EQ(window.size(), QSize(6, 4));

    const QImage shot = window.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(12, 8));
    // Each picture pixel is a sharp 2 × 2 square: no blending at the seam.
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(shot.pixelColor(5, y), kLeft) << y;
        EXPECT_EQ(shot.pixelColor(6, y), kRight) << y;
    }
    EXPECT_EQ(shot.pixelColor(1, 1), kKey);
    EXPECT_EQ(shot.pixelColor(2, 0), kLeft);
    // The outline is kept in logical pixels: the key pixel alone is cut.
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(1, 0)));
    EXPECT_TRUE(window.mask().contains(QPoint(0, 1)));
    EXPECT_EQ(window.mask().boundingRect(), QRect(0, 0, 6, 4));
}

TEST(HighDpi, ButtonImageKeepsItsKeyEdgeSharp)
{
    QWidget host;
    host.setFixedSize(20, 10);
    host.setAutoFillBackground(true);
    QPalette palette = host.palette();
    palette.setColor(QPalette::Window, kRight);
    host.setPalette(palette);
    auto *button = new TGTabButton(&host);
    button->setTransparentColor(kKey);
    // Hot too: the pointer may rest over the button.
    const QImage picture = solidPicture({ 4, 4 }, kLeft, QRect(0, 0, 2, 4));
    button->setBitmapUp(picture);
    button->setBitmapHigh(picture);
    button->setGeometry(0, 0, 4, 4);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    const QImage shot = host.grab().toImage();
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(shot.pixelColor(3, y), kRight) << y;
        EXPECT_EQ(shot.pixelColor(4, y), kLeft) << y;
    }
}
