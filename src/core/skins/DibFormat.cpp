#include "core/skins/DibFormat.h"

#include <array>

std::optional<DibFormat> dibFormatFromCode(int code)
{
    if (code < 0 || code > 6)
        return std::nullopt;
    return static_cast<DibFormat>(code);
}

int dibBitsPerPixel(DibFormat format)
{
    static constexpr std::array<int, 7> bits { 1, 4, 8, 16, 16, 24, 32 };
    return bits[static_cast<std::size_t>(format)];
}

bool dibHasPalette(DibFormat format) { return format <= DibFormat::Bits8; }

int dibPaletteCapacity(DibFormat format) { return dibHasPalette(format) ? 1 << dibBitsPerPixel(format) : 0; }

qsizetype dibRowBytes(DibFormat format, int width)
{
    return (qsizetype(width) * dibBitsPerPixel(format) + 31) / 32 * 4;
}

QImage::Format dibImageFormat(DibFormat format)
{
    switch (format) {
    case DibFormat::Bits1:
        return QImage::Format_Mono;
    case DibFormat::Bits4:
    case DibFormat::Bits8:
        return QImage::Format_Indexed8;
    case DibFormat::Bits16Rgb555:
        return QImage::Format_RGB555;
    case DibFormat::Bits16Rgb565:
        return QImage::Format_RGB16;
    case DibFormat::Bits24:
        return QImage::Format_BGR888;
    case DibFormat::Bits32:
        return QImage::Format_RGB32;
    }
    return QImage::Format_Invalid;
}

namespace {

QList<QRgb> basicColours()
{
    return { qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0), qRgb(0, 0, 128), qRgb(128, 0, 128),
        qRgb(0, 128, 128), qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(255, 0, 0), qRgb(0, 255, 0),
        qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255) };
}

// Ten static colours at each end, a 6 x 6 x 6 colour cube and twenty greys
// between them.
QList<QRgb> byteColours()
{
    QList<QRgb> colours { qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0), qRgb(0, 0, 128),
        qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(192, 220, 192), qRgb(166, 202, 240) };
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                colours.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 1; i <= 20; ++i) {
        const int level = i * 255 / 21;
        colours.append(qRgb(level, level, level));
    }
    colours.append({ qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128), qRgb(255, 0, 0), qRgb(0, 255, 0),
        qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255) });
    return colours;
}

} // namespace

QList<QRgb> standardPalette(DibFormat format)
{
    switch (format) {
    case DibFormat::Bits1:
        return { qRgb(0, 0, 0), qRgb(255, 255, 255) };
    case DibFormat::Bits4:
        return basicColours();
    case DibFormat::Bits8:
        return byteColours();
    default:
        return {};
    }
}
