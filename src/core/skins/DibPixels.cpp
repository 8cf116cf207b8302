#include "core/skins/DibPixels.h"

#include <QHash>

#include <bit>
#include <climits>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "16- and 32-bit pixels are copied as they lie in the file");

namespace {

QList<QRgb> fittedPalette(DibFormat format, const QList<QRgb> &palette)
{
    QList<QRgb> colours = palette.mid(0, dibPaletteCapacity(format));
    while (colours.size() < dibPaletteCapacity(format))
        colours.append(qRgb(0, 0, 0));
    return colours;
}

// Nearest palette entry by squared distance, remembered per colour.
class NearestIndex {
public:
    explicit NearestIndex(const QList<QRgb> &palette)
        : m_palette(palette)
    {
    }

    int operator()(QRgb colour)
    {
        colour |= 0xFF000000u;
        const auto known = m_cache.constFind(colour);
        if (known != m_cache.constEnd())
            return *known;
        int best = 0;
        int bestDistance = INT_MAX;
        for (int i = 0; i < m_palette.size(); ++i) {
            const int dr = qRed(colour) - qRed(m_palette[i]);
            const int dg = qGreen(colour) - qGreen(m_palette[i]);
            const int db = qBlue(colour) - qBlue(m_palette[i]);
            const int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = i;
            }
        }
        m_cache.insert(colour, best);
        return best;
    }

private:
    const QList<QRgb> &m_palette;
    QHash<QRgb, int> m_cache;
};

} // namespace

QImage dibCanvas(DibFormat format, int width, int height)
{
    // 4-bit rows have no image format of their own: they wait in a byte image.
    QImage canvas = format == DibFormat::Bits4
        ? QImage(int(dibRowBytes(format, width)), height, QImage::Format_Grayscale8)
        : QImage(width, height, dibImageFormat(format));
    if (canvas.isNull() || canvas.bytesPerLine() != dibRowBytes(format, width))
        return {};
    return canvas;
}

QImage finishDibCanvas(QImage canvas, DibFormat format, int width, const QList<QRgb> &palette)
{
    switch (format) {
    case DibFormat::Bits4: {
        QImage image(width, canvas.height(), QImage::Format_Indexed8);
        if (image.isNull())
            return image;
        image.setColorTable(fittedPalette(format, palette));
        for (int y = 0; y < canvas.height(); ++y) {
            const std::uint8_t *source = canvas.constScanLine(y);
            std::uint8_t *target = image.scanLine(y);
            for (int x = 0; x < width; ++x)
                target[x] = (x & 1) ? source[x / 2] & 0x0F : source[x / 2] >> 4;
        }
        return image;
    }
    case DibFormat::Bits32: {
        // The fourth byte is unused in the file.
        auto *pixels = reinterpret_cast<quint32 *>(canvas.bits());
        const qsizetype count = canvas.sizeInBytes() / 4;
        for (qsizetype i = 0; i < count; ++i)
            pixels[i] |= 0xFF000000u;
        return canvas;
    }
    case DibFormat::Bits1:
    case DibFormat::Bits8:
        canvas.setColorTable(fittedPalette(format, palette));
        return canvas;
    default:
        return canvas;
    }
}

QImage imageFromDibRows(
    DibFormat format, int width, int height, std::span<const std::uint8_t> rows, const QList<QRgb> &palette)
{
    QImage canvas = dibCanvas(format, width, height);
    if (canvas.isNull() || rows.size() < std::size_t(canvas.sizeInBytes()))
        return {};
    std::memcpy(canvas.bits(), rows.data(), std::size_t(canvas.sizeInBytes()));
    return finishDibCanvas(std::move(canvas), format, width, palette);
}

QImage convertToDibFormat(const QImage &image, DibFormat format, const QList<QRgb> &palette)
{
    if (!dibHasPalette(format))
        return image.convertToFormat(dibImageFormat(format));
    const QList<QRgb> colours = fittedPalette(format, palette);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage result(image.width(), image.height(), dibImageFormat(format));
    if (result.isNull())
        return result;
    result.setColorTable(colours);
    result.fill(0);
    NearestIndex nearest(colours);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            result.setPixel(x, y, uint(nearest(source[x])));
    }
    return result;
}

QByteArray dibRowsFromImage(const QImage &image, DibFormat format, const QList<QRgb> &palette)
{
    const int width = image.width();
    const qsizetype rowBytes = dibRowBytes(format, width);
    QByteArray rows(rowBytes * image.height(), '\0');
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QList<QRgb> colours = fittedPalette(format, palette);
    NearestIndex nearest(colours);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *source = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        auto *target = reinterpret_cast<std::uint8_t *>(rows.data()) + y * rowBytes;
        for (int x = 0; x < width; ++x) {
            const QRgb c = source[x];
            switch (format) {
            case DibFormat::Bits1:
                target[x / 8] |= std::uint8_t((nearest(c) & 1) << (7 - x % 8));
                break;
            case DibFormat::Bits4:
                target[x / 2] |= std::uint8_t((nearest(c) & 0x0F) << ((x & 1) ? 0 : 4));
                break;
            case DibFormat::Bits8:
                target[x] = std::uint8_t(nearest(c));
                break;
            case DibFormat::Bits16Rgb555: {
                const auto value = quint16((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3);
                std::memcpy(target + 2 * x, &value, 2);
                break;
            }
            case DibFormat::Bits16Rgb565: {
                const auto value = quint16((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3);
                std::memcpy(target + 2 * x, &value, 2);
                break;
            }
            case DibFormat::Bits24:
                target[3 * x] = std::uint8_t(qBlue(c));
                target[3 * x + 1] = std::uint8_t(qGreen(c));
                target[3 * x + 2] = std::uint8_t(qRed(c));
                break;
            case DibFormat::Bits32:
                target[4 * x] = std::uint8_t(qBlue(c));
                target[4 * x + 1] = std::uint8_t(qGreen(c));
                target[4 * x + 2] = std::uint8_t(qRed(c));
                break;
            }
        }
    }
    return rows;
}
