#include "core/windowlogic/WindowOutline.h"
#include "core/windowlogic/KeyedImage.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QRgb kKey = qRgb(0, 0, 255);

// '.' is the key colour, any other letter a colour that shows.
QImage picture(const QStringList &rows)
{
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = rows[y][x];
            QRgb colour = kKey;
            if (c == QLatin1Char('#'))
                colour = qRgb(200, 30, 30);
            else if (c == QLatin1Char('r')) // one channel off the key
                colour = qRgb(1, 0, 255);
            else if (c == QLatin1Char('b'))
                colour = qRgb(0, 0, 254);
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

// Every pixel is in the region exactly when the picture shows it.
void expectRegionMatches(const QRegion &region, const QStringList &rows)
{
    for (int y = 0; y < rows.size(); ++y) {
        for (int x = 0; x < rows[y].size(); ++x) {
            SCOPED_TRACE(testing::Message() << "pixel " << x << "," << y);
            EXPECT_EQ(region.contains(QPoint(x, y)), rows[y][x] != QLatin1Char('.'));
        }
    }
    // Nothing outside the picture.
    EXPECT_TRUE((region - QRect(0, 0, int(rows.first().size()), int(rows.size()))).isEmpty());
}

} // namespace

TEST(WindowOutline, RegionHoldsExactlyThePixelsThatShow)
{
    const struct {
        const char *name;
        QStringList rows;
    } cases[] = {
        { "all key", { "....", "....", "...." } },
        { "no key", { "#####", "#####" } },
        { "single-pixel hole", { "###", "#.#", "###" } },
        { "single pixel that shows", { "...", ".#.", "..." } },
        { "odd width, runs touching both edges", { "##.#.##", "#.....#", ".#####." } },
        { "one channel differing shows", { "r.b", "...", "b.r" } },
        { "width one", { "#", ".", "#" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        expectRegionMatches(outlineRegion(picture(c.rows), QColor::fromRgb(kKey)), c.rows);
    }
}

TEST(WindowOutline, EmptyAndFullPictures)
{
    EXPECT_TRUE(outlineRegion(picture({ "...", "..." }), QColor::fromRgb(kKey)).isEmpty());
    EXPECT_TRUE(outlineRegion(QImage(), QColor::fromRgb(kKey)).isEmpty());
    const QRegion full = outlineRegion(picture({ "###", "###", "###" }), QColor::fromRgb(kKey));
    EXPECT_EQ(full.boundingRect(), QRect(0, 0, 3, 3));
    EXPECT_EQ(full.rectCount(), 1);
}

TEST(WindowOutline, RunsBecomeRectanglesAndEqualRowsMerge)
{
    const QList<QRect> rects = outlineRects(picture({ ".##.", ".##.", "#..#", "#..#", ".##." }), QColor::fromRgb(kKey));
    const QList<QRect> expected = { QRect(1, 0, 2, 2), QRect(0, 2, 1, 2), QRect(3, 2, 1, 2), QRect(1, 4, 2, 1) };
    EXPECT_EQ(rects, expected);
}

TEST(WindowOutline, AlphaAndFormatDoNotMatter)
{
    // A key pixel with any alpha is still key; an indexed picture reads the same.
    QImage withAlpha(2, 1, QImage::Format_ARGB32);
    withAlpha.setPixel(0, 0, qRgba(0, 0, 255, 0));
    withAlpha.setPixel(1, 0, qRgba(10, 20, 30, 0));
    EXPECT_EQ(outlineRects(withAlpha, QColor::fromRgb(kKey)), QList<QRect> { QRect(1, 0, 1, 1) });

    const QImage indexed = picture({ "#.#" }).convertToFormat(QImage::Format_Indexed8);
    EXPECT_EQ(outlineRects(indexed, QColor::fromRgb(kKey)), (QList<QRect> { QRect(0, 0, 1, 1), QRect(2, 0, 1, 1) }));
}

TEST(WindowOutline, EveryFormatGivesTheSameOutline)
{
    // Repeated rows, a row all key and runs at both edges; the skins' own
    // formats are read where they are stored, any other through a copy.
    const QStringList rows = { "##..#r", "##..#r", "......", "......", "#b.###", "##..#r", "##..#r" };
    const QImage source = picture(rows);
    const QList<QRect> expected = outlineRects(source, QColor::fromRgb(kKey));
    const struct {
        const char *name;
        QImage image;
    } cases[] = {
        { "argb32", source.convertToFormat(QImage::Format_ARGB32) },
        { "rgb888", source.convertToFormat(QImage::Format_RGB888) },
        { "bgr888", source.convertToFormat(QImage::Format_BGR888) },
        { "indexed8", source.convertToFormat(QImage::Format_Indexed8) },
        { "rgb16", source.convertToFormat(QImage::Format_RGB16) },
        { "premultiplied", source.convertToFormat(QImage::Format_ARGB32_Premultiplied) },
    };
    expectRegionMatches(outlineRegion(source, QColor::fromRgb(kKey)), rows);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.image.format() == QImage::Format_RGB16) {
            // Five bits of red cannot hold the colour one step off the key.
            EXPECT_FALSE(outlineRegion(c.image, QColor::fromRgb(kKey)).contains(QPoint(5, 0)));
            continue;
        }
        EXPECT_EQ(outlineRects(c.image, QColor::fromRgb(kKey)), expected);
    }

    // An index past a short colour table reads as black, which shows; so
    // does every index of an indexed picture without a table, a grey.
    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({ kKey });
    uchar *line = indexed.scanLine(0);
    line[0] = 0;
    line[1] = 5;
    line[2] = 0;
    EXPECT_EQ(outlineRects(indexed, QColor::fromRgb(kKey)), QList<QRect> { QRect(1, 0, 1, 1) });
    indexed.setColorTable({});
    EXPECT_EQ(outlineRects(indexed, QColor::fromRgb(kKey)), QList<QRect> { QRect(0, 0, 3, 1) });
}

TEST(KeyedImage, KeyBecomesTransparentAndTheRestOpaque)
{
    QImage source(3, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(0, 0, 255, 255));
    source.setPixel(1, 0, qRgba(0, 0, 254, 255));
    source.setPixel(2, 0, qRgba(12, 34, 56, 0)); // stray alpha in a skin is not transparency
    const QImage keyed = keyedImage(source, QColor::fromRgb(kKey));
    EXPECT_EQ(qAlpha(keyed.pixel(0, 0)), 0);
    EXPECT_EQ(keyed.pixel(1, 0), qRgba(0, 0, 254, 255));
    EXPECT_EQ(keyed.pixel(2, 0), qRgba(12, 34, 56, 255));
    EXPECT_TRUE(keyedImage(QImage(), QColor::fromRgb(kKey)).isNull());
}
