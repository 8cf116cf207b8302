#include "core/skins/TCompressedDib.h"

#include "core/skins/Lzhuf.h"
#include "core/skins/SkinBytes.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kCompressed = 8;
constexpr int kStandardPalette = 16;
constexpr int kAlpha = 2;

const QByteArray kMarker = bytes({ 0xFE, 0x4D });

// The body of an alpha block holding `data`: A6, a 126-byte descriptor with
// the length at bytes 2..5, the data, A6.
QByteArray alphaBlock(const QByteArray &data)
{
    QByteArray descriptor(126, '\0');
    descriptor[2] = char(data.size());
    return bytes({ 0xA6 }) + descriptor + data + bytes({ 0xA6 });
}

// A compressed body: the length and the LZHUF code of `body`.
QByteArray compressed(const QByteArray &body) { return lzhufEncode(body); }

struct Vector {
    const char *what;
    QByteArray file;
    QImage::Format format;
    int width;
    int height;
    std::vector<QRgb> pixels; // row by row, top row first
};

QRgb rgb(int r, int g, int b) { return qRgb(r, g, b); }

std::vector<Vector> vectors()
{
    const QRgb red = rgb(255, 0, 0);
    const QRgb green = rgb(0, 255, 0);
    const QRgb blue = rgb(0, 0, 255);
    const QRgb white = rgb(255, 255, 255);
    const QByteArray oneBitBody
        = bytes({ 255, 0, 0, 0, 255, 0 }) + kMarker + bytes({ 0xA0, 0, 0, 0, 0x60, 0, 0, 0, 0xFF, 0 }) + kMarker;
    return {
        { "1 bit, stored palette, 3 wide: rows padded to 4 bytes", ubmHeader(3, 2, 0, 0, 0, 2) + oneBitBody,
            QImage::Format_Mono, 3, 2, { green, red, green, red, green, green } },
        { "the same, compressed", ubmHeader(3, 2, 0, 0, kCompressed, 2) + compressed(oneBitBody), QImage::Format_Mono,
            3, 2, { green, red, green, red, green, green } },
        { "4 bits, standard palette: entries 9, 12, 15 are red, blue, white",
            ubmHeader(3, 1, 1, 1, kStandardPalette, 0) + kMarker + bytes({ 0x9C, 0xF0, 0, 0, 0xFF, 0 }) + kMarker,
            QImage::Format_Indexed8, 3, 1, { red, blue, white } },
        { "4 bits, stored palette of two entries",
            ubmHeader(2, 1, 1, 1, 0, 2) + bytes({ 1, 2, 3, 4, 5, 6 }) + kMarker + bytes({ 0x10, 0, 0, 0, 0xFF, 0 })
                + kMarker,
            QImage::Format_Indexed8, 2, 1, { rgb(4, 5, 6), rgb(1, 2, 3) } },
        { "8 bits, stored palette, counted run for the second row",
            ubmHeader(2, 2, 2, 2, 0, 3) + bytes({ 10, 20, 30, 40, 50, 60, 70, 80, 90 }) + kMarker
                + bytes({ 2, 1, 0xFF, 6, 0, 0 }) + kMarker,
            QImage::Format_Indexed8, 2, 2, { rgb(70, 80, 90), rgb(40, 50, 60), rgb(10, 20, 30), rgb(10, 20, 30) } },
        { "8 bits, standard palette begins with the static colours",
            ubmHeader(3, 1, 2, 2, kStandardPalette, 0) + kMarker + bytes({ 1, 8, 9, 0, 0xFF, 0 }) + kMarker,
            QImage::Format_Indexed8, 3, 1, { rgb(128, 0, 0), rgb(192, 220, 192), rgb(166, 202, 240) } },
        { "16 bits 555", ubmHeader(2, 1, 3, 3, 0, 0) + kMarker + bytes({ 0x10, 0x42, 0x1F, 0, 0xFF, 0 }) + kMarker,
            QImage::Format_RGB555, 2, 1, { rgb(132, 132, 132), blue } },
        { "16 bits 565", ubmHeader(2, 1, 4, 4, 0, 0) + kMarker + bytes({ 0, 0xF8, 0x10, 0x84, 0xFF, 0 }) + kMarker,
            QImage::Format_RGB16, 2, 1, { red, rgb(132, 130, 132) } },
        { "24 bits, 1 wide: every row padded",
            ubmHeader(1, 2, 5, 5, 0, 0) + kMarker + bytes({ 1, 2, 3, 0, 4, 5, 6, 0, 0xFF, 0 }) + kMarker,
            QImage::Format_BGR888, 1, 2, { rgb(3, 2, 1), rgb(6, 5, 4) } },
        { "32 bits, the fourth byte ignored",
            ubmHeader(2, 1, 6, 6, 0, 0) + kMarker + bytes({ 0x10, 0x20, 0x30, 0x77, 1, 2, 3, 0, 0xFF, 0 }) + kMarker,
            QImage::Format_RGB32, 2, 1, { rgb(0x30, 0x20, 0x10), rgb(3, 2, 1) } },
        { "stored 1 bit, built 24 bits: the palette's colours",
            ubmHeader(2, 1, 0, 5, 0, 2) + bytes({ 0, 0, 0, 200, 100, 50 }) + kMarker + bytes({ 0x40, 0, 0, 0, 0xFF, 0 })
                + kMarker,
            QImage::Format_BGR888, 2, 1, { rgb(0, 0, 0), rgb(200, 100, 50) } },
        { "stored 24 bits, built 8 bits: the nearest standard colours",
            ubmHeader(2, 1, 5, 2, 0, 0) + kMarker + bytes({ 0, 0, 250, 2, 250, 3, 0, 0, 0xFF, 0 }) + kMarker,
            QImage::Format_Indexed8, 2, 1, { red, rgb(0, 255, 0) } },
        { "alpha block read past",
            ubmHeader(1, 1, 5, 5, kAlpha, 0) + kMarker + bytes({ 1, 2, 3, 0, 0xFF, 0 }) + kMarker
                + alphaBlock(bytes({ 0xAA, 0xBB, 0xCC })),
            QImage::Format_BGR888, 1, 1, { rgb(3, 2, 1) } },
        { "alpha block in a compressed body",
            ubmHeader(1, 1, 5, 5, kAlpha | kCompressed, 0)
                + compressed(kMarker + bytes({ 1, 2, 3, 0, 0xFF, 0 }) + kMarker + alphaBlock(QByteArray(40, 'a'))),
            QImage::Format_BGR888, 1, 1, { rgb(3, 2, 1) } },
        { "more pixel data than the bitmap: it stops at the end",
            ubmHeader(1, 1, 2, 2, kStandardPalette, 0) + kMarker + bytes({ 0xFF, 0x3F, 9, 0 }) + kMarker,
            QImage::Format_Indexed8, 1, 1, { rgb(166, 202, 240) } },
        { "less pixel data than the bitmap: the rest is index 0",
            ubmHeader(2, 1, 2, 2, kStandardPalette, 0) + kMarker + bytes({ 9, 0xFF, 0 }) + kMarker,
            QImage::Format_Indexed8, 2, 1, { rgb(166, 202, 240), rgb(0, 0, 0) } },
    };
}

} // namespace

TEST(TCompressedDib, DecodesHandMadeFiles)
{
    for (const Vector &v : vectors()) {
        const DibLoaded loaded = TCompressedDib::fromBytes(v.file);
        ASSERT_EQ(loaded.error, SkinError::None) << v.what;
        const QImage &image = loaded.dib.image();
        EXPECT_EQ(image.format(), v.format) << v.what;
        ASSERT_EQ(loaded.dib.width(), v.width) << v.what;
        ASSERT_EQ(loaded.dib.height(), v.height) << v.what;
        for (int y = 0; y < v.height; ++y)
            for (int x = 0; x < v.width; ++x)
                EXPECT_EQ(QColor(image.pixel(x, y)), QColor(v.pixels[std::size_t(y * v.width + x)]))
                    << v.what << " at " << x << "," << y;
    }
}

TEST(TCompressedDib, ReportsEachDamageWithItsText)
{
    const QByteArray pixels = kMarker + bytes({ 1, 2, 3, 0, 0xFF, 0 }) + kMarker;
    QByteArray longAlpha = alphaBlock(bytes({ 1, 2, 3 }));
    longAlpha[3] = char(0x40); // claims more data than follows
    const struct {
        const char *what;
        QByteArray file;
        const char *text;
    } cases[] = {
        { "unknown magic", bytes({ 'G', 'I', 'F', '8', '9', 'a' }) + QByteArray(30, '\0'),
            "DIB File Format Unrecognized !" },
        { "empty file", {}, "DIB File Format Unrecognized !" },
        { "header cut short", ubmHeader(1, 1, 5, 5, 0, 0).first(12), "DIB File Format Unrecognized !" },
        { "stored format 7", ubmHeader(1, 1, 7, 5, 0, 0) + pixels, "DIB File Format Unrecognized !" },
        { "built format 9", ubmHeader(1, 1, 5, 9, 0, 0) + pixels, "DIB File Format Unrecognized !" },
        { "no width", ubmHeader(0, 1, 5, 5, 0, 0) + pixels, "DIB File Format Unrecognized !" },
        { "wider than 8192", ubmHeader(8193, 1, 5, 5, 0, 0) + pixels, "DIB File Format Unrecognized !" },
        { "higher than 8192", ubmHeader(1, 8193, 5, 5, 0, 0) + pixels, "DIB File Format Unrecognized !" },
        { "marker before the pixels wrong", ubmHeader(1, 1, 5, 5, 0, 0) + bytes({ 0xFE, 0x4E }) + pixels.sliced(2),
            "Internal Error During CompressedDIB Loading Process !" },
        { "palette cut short", ubmHeader(1, 1, 2, 2, 0, 4) + bytes({ 1, 2, 3 }),
            "Internal Error During CompressedDIB Loading Process !" },
        { "pixel data without its end code", ubmHeader(1, 1, 5, 5, 0, 0) + kMarker + bytes({ 1, 2, 3, 0, 4, 5 }),
            "Abnormal CompressedDIB Loading Terminaison !" },
        { "marker after the pixels missing", ubmHeader(1, 1, 5, 5, 0, 0) + pixels.first(pixels.size() - 1),
            "Abnormal CompressedDIB Loading Terminaison !" },
        { "alpha block without its first marker", ubmHeader(1, 1, 5, 5, kAlpha, 0) + pixels + bytes({ 0xA5 }),
            "Internal Error During AlphaStructure Loading Process !" },
        { "alpha block missing", ubmHeader(1, 1, 5, 5, kAlpha, 0) + pixels,
            "Internal Error During AlphaStructure Loading Process !" },
        { "alpha descriptor cut short", ubmHeader(1, 1, 5, 5, kAlpha, 0) + pixels + alphaBlock({}).first(60),
            "Abnormal AlphaStructure Ending !" },
        { "alpha block without its last marker", ubmHeader(1, 1, 5, 5, kAlpha, 0) + pixels + alphaBlock({}).chopped(1),
            "Abnormal AlphaStructure Ending !" },
        { "alpha data longer than the file", ubmHeader(1, 1, 5, 5, kAlpha, 0) + pixels + longAlpha,
            "Abnormal AlphaStructure Ending !" },
        { "compressed stream without its length", ubmHeader(1, 1, 5, 5, kCompressed, 0) + bytes({ 9, 0 }),
            "LZH (de)compression : Failed to initialize input stream !" },
        { "compressed stream claiming more than its code holds",
            ubmHeader(100, 100, 5, 5, kCompressed, 0) + bytes({ 0xE8, 0x03, 0, 0, 0xE6, 0x80 }),
            "LZH (de)compression : Failed to initialize input stream !" },
        { "compressed stream claiming more than the image can hold",
            ubmHeader(1, 1, 5, 5, kCompressed, 0) + bytes({ 0, 0, 0, 1 }) + QByteArray(16, '\x55'),
            "LZH (de)compression : Failed to initialize output stream !" },
        { "compressed stream cut short", ubmHeader(1, 1, 5, 5, kCompressed, 0) + compressed(pixels).chopped(2),
            "Abnormal CompressedDIB Loading Terminaison !" },
        { "Windows bitmap of 2 bits",
            bytes({ 'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 62, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 2, 0 })
                + QByteArray(40, '\0'),
            "Unsupported WindowsDIB Resolution" },
    };
    for (const auto &c : cases) {
        const DibLoaded loaded = TCompressedDib::fromBytes(c.file);
        EXPECT_EQ(skinErrorText(loaded.error), QString::fromLatin1(c.text)) << c.what;
        EXPECT_TRUE(loaded.dib.image().isNull()) << c.what;
    }
}

TEST(TCompressedDib, DrawsARectangleOfTheImage)
{
    const QByteArray file = ubmHeader(2, 2, 5, 5, 0, 0) + kMarker
        + bytes({ 0, 0, 200, 0, 200, 0, 0, 0, 200, 0, 0, 200, 200, 200, 0, 0, 0xFF, 0 }) + kMarker;
    const DibLoaded loaded = TCompressedDib::fromBytes(file);
    ASSERT_EQ(loaded.error, SkinError::None);
    QImage surface(3, 3, QImage::Format_RGB32);
    surface.fill(Qt::black);
    {
        QPainter painter(&surface);
        loaded.dib.draw(painter, QPoint(1, 1), QRect(1, 0, 1, 2));
    }
    EXPECT_EQ(surface.pixel(1, 1), qRgb(0, 200, 0));
    EXPECT_EQ(surface.pixel(1, 2), qRgb(200, 200, 200));
    EXPECT_EQ(surface.pixel(2, 1), qRgb(0, 0, 0));
    EXPECT_EQ(surface.pixel(0, 0), qRgb(0, 0, 0));
}
