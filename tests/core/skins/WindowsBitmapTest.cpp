#include "core/skins/WindowsBitmap.h"

#include "core/skins/SkinBytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct BitmapFile {
    int bits = 24;
    int width = 1;
    int height = 1; // negative: rows stored top row first
    std::vector<QRgb> palette;
    QByteArray rows; // as they lie in the file
    int compression = 0;
    QByteArray masks = {};
    int coloursUsed = 0;
    int pixelOffsetShift = 0; // added to the correct pixel offset
};

// A Windows bitmap laid out by hand: file header, 40-byte info header,
// masks, palette (blue, green, red, 0), pixels.
QByteArray bitmapFile(const BitmapFile &f)
{
    QByteArray palette;
    for (const QRgb colour : f.palette)
        palette += bytes({ qBlue(colour), qGreen(colour), qRed(colour), 0 });
    const auto offset = std::uint32_t(14 + 40 + f.masks.size() + palette.size() + f.pixelOffsetShift);
    QByteArray out = bytes({ 'B', 'M' });
    appendU32(out, offset + std::uint32_t(f.rows.size()));
    appendU32(out, 0);
    appendU32(out, offset);
    appendU32(out, 40);
    appendU32(out, std::uint32_t(f.width));
    appendU32(out, std::uint32_t(f.height));
    appendU16(out, 1);
    appendU16(out, std::uint32_t(f.bits));
    appendU32(out, std::uint32_t(f.compression));
    appendU32(out, std::uint32_t(f.rows.size()));
    appendU32(out, 2835);
    appendU32(out, 2835);
    appendU32(out, std::uint32_t(f.coloursUsed));
    appendU32(out, 0);
    return out + f.masks + palette + f.rows;
}

QByteArray masks(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    QByteArray out;
    appendU32(out, red);
    appendU32(out, green);
    appendU32(out, blue);
    return out;
}

} // namespace

TEST(WindowsBitmap, ReadsEveryBitDepth)
{
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);
    const QRgb blue = qRgb(0, 0, 255);
    const struct {
        const char *what;
        BitmapFile file;
        QImage::Format format;
        std::vector<QRgb> pixels; // top row first
    } cases[] = {
        { "1 bit, 3 x 2, bottom row first", { 1, 3, 2, { red, green }, bytes({ 0x60, 0, 0, 0, 0xA0, 0, 0, 0 }) },
            QImage::Format_Mono, { green, red, green, red, green, green } },
        { "4 bits, a short palette", { 4, 2, 1, { red, green, blue }, bytes({ 0x21, 0, 0, 0 }), 0, {}, 3 },
            QImage::Format_Indexed8, { blue, green } },
        { "8 bits, top row first", { 8, 1, -2, { red, green, blue }, bytes({ 2, 0, 0, 0, 1, 0, 0, 0 }), 0, {}, 3 },
            QImage::Format_Indexed8, { blue, green } },
        { "16 bits, five per colour", { 16, 2, 1, {}, bytes({ 0x00, 0x7C, 0x1F, 0x00 }) }, QImage::Format_RGB555,
            { red, blue } },
        { "16 bits, bit fields 565",
            { 16, 2, 1, {}, bytes({ 0xE0, 0x07, 0x00, 0xF8 }), 3, masks(0xF800, 0x07E0, 0x001F) }, QImage::Format_RGB16,
            { green, red } },
        { "16 bits, bit fields 555", { 16, 1, 1, {}, bytes({ 0xE0, 0x03, 0, 0 }), 3, masks(0x7C00, 0x03E0, 0x001F) },
            QImage::Format_RGB555, { green } },
        { "24 bits, odd width padded", { 24, 1, 2, {}, bytes({ 1, 2, 3, 0, 4, 5, 6, 0 }) }, QImage::Format_BGR888,
            { qRgb(6, 5, 4), qRgb(3, 2, 1) } },
        { "32 bits", { 32, 1, 1, {}, bytes({ 7, 8, 9, 0 }) }, QImage::Format_RGB32, { qRgb(9, 8, 7) } },
        { "8 bits run-length: runs, literals padded to a word, end of bitmap",
            { 8, 3, 2, { red, green, blue }, bytes({ 2, 2, 1, 1, 0, 0, 0, 3, 0, 1, 2, 0, 0, 1 }), 1, {}, 3 },
            QImage::Format_Indexed8, { red, green, blue, blue, blue, green } },
        { "8 bits run-length: a run past the row's end is cut",
            { 8, 2, 1, { red, green }, bytes({ 4, 1, 0, 1 }), 1, {}, 2 }, QImage::Format_Indexed8, { green, green } },
        { "4 bits run-length: alternating nibbles, a skip, odd literals",
            { 4, 5, 2, { red, green, blue }, bytes({ 5, 0x12, 0, 0, 0, 2, 2, 0, 0, 3, 0x21, 0x00, 0, 1 }), 2, {}, 3 },
            QImage::Format_Indexed8, { red, red, blue, green, red, green, blue, green, blue, green } },
        { "32 bits, standard bit fields", { 32, 1, 1, {}, bytes({ 7, 8, 9, 0 }), 3, masks(0xFF0000, 0xFF00, 0xFF) },
            QImage::Format_RGB32, { qRgb(9, 8, 7) } },
    };
    for (const auto &c : cases) {
        const DibDecoded result = readWindowsBitmap(bitmapFile(c.file));
        ASSERT_EQ(result.error, SkinError::None) << c.what;
        EXPECT_EQ(result.image.format(), c.format) << c.what;
        const int width = result.image.width();
        ASSERT_EQ(width * result.image.height(), int(c.pixels.size())) << c.what;
        for (int y = 0; y < result.image.height(); ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(QColor(result.image.pixel(x, y)), QColor(c.pixels[std::size_t(y * width + x)]))
                    << c.what << " at " << x << "," << y;
    }
}

TEST(WindowsBitmap, RefusesWhatItCannotRead)
{
    const struct {
        const char *what;
        BitmapFile file;
        SkinError error;
    } cases[] = {
        { "2 bits", { 2, 1, 1, {}, bytes({ 0, 0, 0, 0 }) }, SkinError::UnsupportedResolution },
        { "run-length on 24 bits", { 24, 1, 1, {}, bytes({ 1, 0, 0, 1 }), 1 }, SkinError::FormatUnrecognized },
        { "run-length data ending a row early", { 8, 2, 2, {}, bytes({ 2, 1, 0, 0 }), 1, {}, 2 },
            SkinError::FormatUnrecognized },
        { "run-length literals cut short", { 4, 8, 1, {}, bytes({ 0, 5, 0x12 }), 2, {}, 2 },
            SkinError::FormatUnrecognized },
        { "odd 16-bit masks", { 16, 1, 1, {}, bytes({ 0, 0, 0, 0 }), 3, masks(0xF000, 0x0FF0, 0x000F) },
            SkinError::UnsupportedResolution },
        { "pixels cut short", { 24, 2, 2, {}, bytes({ 1, 2, 3, 4, 5, 6, 0, 0 }) }, SkinError::FormatUnrecognized },
        { "pixel offset past the end", { 24, 1, 1, {}, bytes({ 1, 2, 3, 0 }), 0, {}, 0, 1000 },
            SkinError::FormatUnrecognized },
        { "pixel offset inside the header", { 24, 1, 1, {}, bytes({ 1, 2, 3, 0 }), 0, {}, 0, -30 },
            SkinError::FormatUnrecognized },
        { "no width", { 24, 0, 1, {}, bytes({ 1, 2, 3, 0 }) }, SkinError::FormatUnrecognized },
        { "wider than 8192", { 8, 9000, 1, {}, QByteArray(9000, '\0') }, SkinError::FormatUnrecognized },
        { "palette cut short", { 8, 1, 1, {}, {}, 0, {}, 200 }, SkinError::FormatUnrecognized },
    };
    for (const auto &c : cases)
        EXPECT_EQ(readWindowsBitmap(bitmapFile(c.file)).error, c.error) << c.what;

    EXPECT_EQ(readWindowsBitmap(bytes({ 'B', 'M', 0, 0 })).error, SkinError::FormatUnrecognized);
}
