#include "gui/providers/ProviderMenu.h"
#include "core/skins/SkinLibrary.h"
#include "core/store/AtomicFile.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void writeBitmap(const QString &path, const QColor &colour)
{
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "BMP"));
    ASSERT_TRUE(writeFileAtomically(path, bytes));
}

// An item drawn on a grey canvas, so that what the drawing left alone shows.
QImage drawn(const ProviderMenu &menu, const QString &caption, bool selected)
{
    QImage canvas(240, 35, QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter painter(&canvas);
    menu.drawItem(painter, QRect(0, 5, 228, 25), caption, selected);
    return canvas;
}

bool anyDark(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100)
                return true;
        }
    }
    return false;
}

class ProviderMenuTest : public ::testing::Test {
protected:
    ProviderMenuTest() { SkinLibrary::setProgramFolder(dir.path()); }
    ~ProviderMenuTest() override { SkinLibrary::setProgramFolder(QString()); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ProviderMenuTest, ItemsMeasureTwentyFiveByTheWidthLessThreeFrames)
{
    struct Case {
        bool separator;
        int frame;
        QSize size;
    };
    const Case cases[] = {
        { false, 4, { 228, 25 } },
        { true, 4, { 228, 5 } },
        { false, 0, { 240, 25 } },
        { false, 8, { 216, 25 } },
    };
    for (const Case &c : cases)
        EXPECT_EQ(ProviderMenu::measureItem(c.separator, c.frame), c.size) << c.frame;

    ProviderMenu menu;
    menu.addItem(QStringLiteral("Home"), 1);
    menu.addSeparator();
    menu.addItem(QStringLiteral("Work"), 2);
    menu.popup(QPoint(10, 10));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    const QList<QAction *> actions = menu.actions();
    EXPECT_EQ(menu.actionGeometry(actions.at(0)).height(), 25);
    EXPECT_EQ(menu.actionGeometry(actions.at(1)).height(), 5);
    EXPECT_EQ(menu.actionGeometry(actions.at(2)).height(), 25);
    EXPECT_LE(menu.actionGeometry(actions.at(0)).width(), 240);
}

TEST_F(ProviderMenuTest, ItemsAreDrawnOnTheSkinImagesWithTheCaptionInset)
{
    const QString skins = QDir(dir.path()).filePath(QStringLiteral("skins/default"));
    ASSERT_TRUE(QDir().mkpath(skins));
    writeBitmap(QDir(skins).filePath(QStringLiteral("MenuBack.bmp")), QColor(0, 200, 0));
    writeBitmap(QDir(skins).filePath(QStringLiteral("MenuHigh.bmp")), QColor(200, 0, 0));
    ProviderMenu menu;

    const QImage plain = drawn(menu, QStringLiteral("Home"), false);
    EXPECT_EQ(QColor(plain.pixel(1, 6)), QColor(0, 200, 0)) << "background image at the item's corner";
    EXPECT_EQ(QColor(plain.pixel(1, 4)), QColor(Qt::gray)) << "nothing outside the item";
    EXPECT_EQ(QColor(plain.pixel(30, 6)), QColor(Qt::white)) << "beyond the image";
    EXPECT_EQ(QColor(plain.pixel(228, 20)), QColor(Qt::gray)) << "nothing right of the item";
    EXPECT_FALSE(anyDark(plain, QRect(0, 5, 5, 25))) << "the caption starts 5 pixels in";
    EXPECT_FALSE(anyDark(plain, QRect(0, 5, 228, 4))) << "and 4 pixels down";
    EXPECT_TRUE(anyDark(plain, QRect(5, 9, 60, 16))) << "black caption";
    EXPECT_FALSE(anyDark(plain, QRect(70, 5, 158, 25))) << "a short caption stays short";

    const QImage selected = drawn(menu, QStringLiteral("Home"), true);
    EXPECT_EQ(QColor(selected.pixel(1, 6)), QColor(200, 0, 0)) << "highlight image";
    EXPECT_TRUE(anyDark(selected, QRect(5, 9, 60, 16)));

    QDir(skins).removeRecursively();
    menu.reloadSkinImages();
    const QImage bare = drawn(menu, QStringLiteral("Home"), false);
    EXPECT_EQ(QColor(bare.pixel(1, 6)), QColor(Qt::white)) << "a missing image leaves a plain item";
    EXPECT_TRUE(anyDark(bare, QRect(5, 9, 60, 16)));
    EXPECT_NE(QColor(drawn(menu, QStringLiteral("Home"), true).pixel(1, 6)), QColor(Qt::white))
        << "the selection still shows";
}

TEST_F(ProviderMenuTest, CaptionsComeBackAsTheyWereGiven)
{
    ProviderMenu menu;
    QSignalSpy chosen(&menu, &ProviderMenu::itemChosen);
    QAction *action = menu.addItem(QStringLiteral("Tom & Jerry's"), 7);
    menu.addItem(QStringLiteral("&Other"), 8);
    EXPECT_EQ(ProviderMenu::captionOf(action), QStringLiteral("Tom & Jerry's"));
    EXPECT_EQ(ProviderMenu::tagOf(action), 7);
    action->trigger();
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toString(), QStringLiteral("Tom & Jerry's"));
    EXPECT_EQ(chosen.at(0).at(1).toInt(), 7);

    menu.clearItems();
    EXPECT_TRUE(menu.actions().isEmpty());
}
