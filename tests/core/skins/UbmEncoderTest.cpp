#include "core/skins/UbmEncoder.h"

#include "core/skins/TCompressedDib.h"
#include "core/skins/UbmHeader.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

// A random image whose colours the format can hold exactly: for palette
// formats a handful from `colours`, otherwise any colour, blotchy so that
// the run-length code has runs to find.
QImage randomImage(int width, int height, const QList<QRgb> &colours, QRandomGenerator &random)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRgb colour = colours.isEmpty() ? qRgb(0, 0, 0) : colours.front();
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (random.bounded(4) == 0)
                colour = colours.isEmpty() ? (random.generate() | 0xFF000000u)
                                           : colours[random.bounded(int(colours.size()))];
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

QList<QRgb> randomColours(int count, QRandomGenerator &random)
{
    QList<QRgb> colours;
    while (colours.size() < count) {
        const QRgb colour = random.generate() | 0xFF000000u;
        if (!colours.contains(colour))
            colours.append(colour);
    }
    return colours;
}

// What the decoded image must show: the source as the format holds it.
QImage expected(const QImage &source, DibFormat format)
{
    switch (format) {
    case DibFormat::Bits16Rgb555:
        return source.convertToFormat(QImage::Format_RGB555).convertToFormat(QImage::Format_RGB32);
    case DibFormat::Bits16Rgb565:
        return source.convertToFormat(QImage::Format_RGB16).convertToFormat(QImage::Format_RGB32);
    default:
        return source.convertToFormat(QImage::Format_RGB32);
    }
}

} // namespace

TEST(UbmEncoder, RoundTripsRandomImagesOfEveryFormatAndSize)
{
    QRandomGenerator random(11);
    const QSize sizes[] = { { 1, 1 }, { 2, 1 }, { 3, 5 }, { 7, 3 }, { 9, 9 }, { 17, 4 }, { 1, 40 }, { 33, 17 },
        { 64, 2 }, { 101, 13 } };
    for (int code = 0; code <= 6; ++code) {
        const auto format = static_cast<DibFormat>(code);
        for (const QSize size : sizes) {
            for (const bool compress : { false, true }) {
                for (const bool standard : { false, true }) {
                    if (standard && !dibHasPalette(format))
                        continue;
                    const int capacity = std::min(dibPaletteCapacity(format), 255);
                    const QList<QRgb> colours = !dibHasPalette(format) ? QList<QRgb> {}
                        : standard                                     ? standardPalette(format)
                                   : randomColours(std::min(capacity, 1 + random.bounded(capacity)), random);
                    const QImage source = randomImage(size.width(), size.height(), colours, random);
                    const UbmEncoded encoded = encodeUbm(source, { format, format, compress, standard });
                    ASSERT_TRUE(encoded.error.isEmpty());

                    const auto header = UbmHeader::parse(encoded.bytes);
                    ASSERT_TRUE(header);
                    EXPECT_EQ(bool(header->flags & UbmHeader::kCompressed), compress);

                    const DibLoaded loaded = TCompressedDib::fromBytes(encoded.bytes);
                    ASSERT_EQ(loaded.error, SkinError::None) << code << " " << size.width() << "x" << size.height();
                    EXPECT_EQ(loaded.dib.image().format(), dibImageFormat(format));
                    ASSERT_EQ(loaded.dib.image().convertToFormat(QImage::Format_RGB32), expected(source, format))
                        << "format " << code << " " << size.width() << "x" << size.height() << " compressed "
                        << compress << " standard palette " << standard;
                }
            }
        }
    }
}

TEST(UbmEncoder, BuildsTheAskedFormatFromAnother)
{
    QImage source(5, 3, QImage::Format_RGB32);
    source.fill(qRgb(0, 0, 128));
    source.setPixel(2, 1, qRgb(255, 255, 0));
    const UbmEncoded encoded = encodeUbm(source, { DibFormat::Bits24, DibFormat::Bits4, true, false });
    const DibLoaded loaded = TCompressedDib::fromBytes(encoded.bytes);
    ASSERT_EQ(loaded.error, SkinError::None);
    EXPECT_EQ(loaded.dib.image().format(), QImage::Format_Indexed8);
    EXPECT_EQ(loaded.dib.image().convertToFormat(QImage::Format_RGB32), source);
}

TEST(UbmEncoder, KeepsTheMostFrequentColoursWhenThePaletteIsFull)
{
    QImage source(4, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(10, 10, 10));
    source.setPixel(1, 0, qRgb(250, 250, 250));
    source.setPixel(2, 0, qRgb(250, 250, 250));
    source.setPixel(3, 0, qRgb(240, 240, 240));
    const UbmEncoded encoded = encodeUbm(source, { DibFormat::Bits1, DibFormat::Bits1, false, false });
    const DibLoaded loaded = TCompressedDib::fromBytes(encoded.bytes);
    ASSERT_EQ(loaded.error, SkinError::None);
    const QImage &image = loaded.dib.image();
    EXPECT_EQ(image.pixel(0, 0), qRgb(10, 10, 10));
    EXPECT_EQ(image.pixel(1, 0), qRgb(250, 250, 250));
    EXPECT_EQ(image.pixel(3, 0), qRgb(250, 250, 250)); // nearest of the two kept
}

TEST(UbmEncoder, RefusesImagesOutsideTheLimits)
{
    EXPECT_FALSE(encodeUbm(QImage(), {}).error.isEmpty());
    EXPECT_FALSE(encodeUbm(QImage(8193, 1, QImage::Format_RGB32), {}).error.isEmpty());
}
