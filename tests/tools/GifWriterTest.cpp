#include "tools/skingen/GifWriter.h"

#include <QBuffer>
#include <QImageReader>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

QImage indexed(QSize size, const QList<QRgb> &palette, const std::function<int(int, int)> &index)
{
    QImage image(size, QImage::Format_Indexed8);
    image.setColorTable(palette);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, uint(index(x, y)));
    return image;
}

QList<QRgb> greys(int count)
{
    QList<QRgb> palette;
    for (int i = 0; i < count; ++i)
        palette.append(qRgb(i * 255 / std::max(1, count - 1), i, 255 - i));
    return palette;
}

} // namespace

// Qt's own GIF reader is the judge.
TEST(GifWriter, WritesAnimationsThatAnotherDecoderReadsBack)
{
    QRandomGenerator random(5);
    const struct {
        const char *what;
        QSize size;
        int colours;
        int frames;
        bool noisy;
    } cases[] = {
        { "two colours: the smallest code size", { 9, 7 }, 2, 1, false },
        { "three colours in a four-entry table", { 16, 16 }, 3, 2, false },
        { "256 colours of noise: the code table fills and is cleared", { 150, 120 }, 256, 2, true },
        { "a long animation", { 20, 10 }, 16, 12, false },
    };
    for (const auto &c : cases) {
        GifAnimation animation;
        animation.size = c.size;
        animation.palette = greys(c.colours);
        animation.delayCentiseconds = 5;
        for (int f = 0; f < c.frames; ++f)
            animation.frames.append(indexed(c.size, animation.palette,
                [&](int x, int y) { return c.noisy ? int(random.bounded(c.colours)) : (x / 3 + y + f) % c.colours; }));
        QByteArray bytes = encodeGif(animation);
        ASSERT_TRUE(bytes.startsWith("GIF89a")) << c.what;

        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "gif");
        ASSERT_TRUE(reader.supportsAnimation()) << c.what;
        for (int f = 0; f < c.frames; ++f) {
            const QImage decoded = reader.read();
            ASSERT_FALSE(decoded.isNull()) << c.what << " frame " << f << ": " << reader.errorString().toStdString();
            ASSERT_EQ(decoded.size(), c.size) << c.what;
            EXPECT_EQ(decoded.convertToFormat(QImage::Format_RGB32),
                animation.frames[f].convertToFormat(QImage::Format_RGB32))
                << c.what << " frame " << f;
            if (f == 0) {
                EXPECT_EQ(reader.nextImageDelay(), 50) << c.what;
            }
        }
        EXPECT_EQ(reader.loopCount(), -1) << c.what; // for ever
    }
}

TEST(GifWriter, RefusesFramesThatDoNotFit)
{
    GifAnimation animation;
    animation.size = { 4, 4 };
    animation.palette = greys(2);
    EXPECT_TRUE(encodeGif(animation).isEmpty()); // no frames
    animation.frames.append(QImage(5, 4, QImage::Format_Indexed8));
    EXPECT_TRUE(encodeGif(animation).isEmpty());
    animation.frames = { QImage(4, 4, QImage::Format_RGB32) };
    EXPECT_TRUE(encodeGif(animation).isEmpty());
}
