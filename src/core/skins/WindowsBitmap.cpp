#include "core/skins/WindowsBitmap.h"

#include "core/skins/DibFormat.h"
#include "core/skins/DibPixels.h"
#include "core/skins/DibRunLength.h"

#include <QtEndian>

#include <cstdint>
#include <vector>

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr qsizetype kCoreHeaderSize = 12; // the old header with 16-bit sizes
constexpr qsizetype kInfoHeaderSize = 40;
constexpr std::uint32_t kUncompressed = 0;
constexpr std::uint32_t kRunLength8 = 1;
constexpr std::uint32_t kRunLength4 = 2;
constexpr std::uint32_t kBitFields = 3;

DibDecoded failure(SkinError error) { return { {}, error }; }

std::uint32_t u32(QByteArrayView file, qsizetype at) { return qFromLittleEndian<quint32>(file.data() + at); }

std::uint16_t u16(QByteArrayView file, qsizetype at) { return qFromLittleEndian<quint16>(file.data() + at); }

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bits = 0;
    std::uint32_t compression = kUncompressed;
    qsizetype paletteAt = 0;
    qsizetype paletteEntries = 0;
    int paletteEntryBytes = 4;
};

} // namespace

DibDecoded readWindowsBitmap(QByteArrayView file)
{
    if (file.size() < kFileHeaderSize + kCoreHeaderSize || file[0] != 'B' || file[1] != 'M')
        return failure(SkinError::FormatUnrecognized);
    const std::uint32_t pixelsAt = u32(file, 10);
    const std::uint32_t headerSize = u32(file, kFileHeaderSize);

    Layout layout;
    if (headerSize == kCoreHeaderSize) {
        layout.width = u16(file, 18);
        layout.height = u16(file, 20);
        layout.bits = u16(file, 24);
        layout.paletteEntryBytes = 3;
    } else if (headerSize >= kInfoHeaderSize && headerSize <= 1024 && file.size() >= kFileHeaderSize + headerSize) {
        const auto width = qint32(u32(file, 18));
        const auto height = qint32(u32(file, 22));
        if (width <= 0 || height == 0 || height == INT32_MIN)
            return failure(SkinError::FormatUnrecognized);
        layout.width = width;
        layout.height = height < 0 ? -height : height;
        layout.topDown = height < 0;
        layout.bits = u16(file, 28);
        layout.compression = u32(file, 30);
        layout.paletteEntries = u32(file, 46);
    } else {
        return failure(SkinError::FormatUnrecognized);
    }
    if (layout.width <= 0 || layout.height <= 0 || layout.width > kMaxDibSide || layout.height > kMaxDibSide)
        return failure(SkinError::FormatUnrecognized);

    DibFormat format;
    switch (layout.bits) {
    case 1:
        format = DibFormat::Bits1;
        break;
    case 4:
        format = DibFormat::Bits4;
        break;
    case 8:
        format = DibFormat::Bits8;
        break;
    case 16:
        format = DibFormat::Bits16Rgb555;
        break;
    case 24:
        format = DibFormat::Bits24;
        break;
    case 32:
        format = DibFormat::Bits32;
        break;
    default:
        return failure(SkinError::UnsupportedResolution);
    }

    qsizetype afterHeader = kFileHeaderSize + headerSize;
    if (layout.compression == kBitFields && (layout.bits == 16 || layout.bits == 32)) {
        // The masks follow a plain info header and lie inside the longer ones.
        const qsizetype masksAt = kFileHeaderSize + kInfoHeaderSize;
        if (file.size() < masksAt + 12)
            return failure(SkinError::FormatUnrecognized);
        const std::uint32_t red = u32(file, masksAt);
        const std::uint32_t green = u32(file, masksAt + 4);
        const std::uint32_t blue = u32(file, masksAt + 8);
        if (layout.bits == 16 && red == 0xF800 && green == 0x07E0 && blue == 0x001F)
            format = DibFormat::Bits16Rgb565;
        else if (layout.bits == 16 && red == 0x7C00 && green == 0x03E0 && blue == 0x001F)
            format = DibFormat::Bits16Rgb555;
        else if (layout.bits != 32 || red != 0xFF0000 || green != 0xFF00 || blue != 0xFF)
            return failure(SkinError::UnsupportedResolution);
        if (headerSize == kInfoHeaderSize)
            afterHeader += 12;
    } else if (layout.compression != kUncompressed && !(layout.compression == kRunLength8 && layout.bits == 8)
        && !(layout.compression == kRunLength4 && layout.bits == 4)) {
        return failure(SkinError::FormatUnrecognized);
    }

    QList<QRgb> palette;
    if (dibHasPalette(format)) {
        const qsizetype capacity = dibPaletteCapacity(format);
        qsizetype entries = layout.paletteEntries == 0 ? capacity : std::min(layout.paletteEntries, capacity);
        if (afterHeader + entries * layout.paletteEntryBytes > file.size())
            return failure(SkinError::FormatUnrecognized);
        for (qsizetype i = 0; i < entries; ++i) {
            const auto *entry
                = reinterpret_cast<const std::uint8_t *>(file.data()) + afterHeader + i * layout.paletteEntryBytes;
            palette.append(qRgb(entry[2], entry[1], entry[0]));
        }
    }

    const qsizetype rowBytes = dibRowBytes(format, layout.width);
    const qsizetype pixelBytes = rowBytes * layout.height;
    if (pixelsAt < afterHeader || qsizetype(pixelsAt) > file.size())
        return failure(SkinError::FormatUnrecognized);
    std::vector<std::uint8_t> rows;
    if (layout.compression == kRunLength8 || layout.compression == kRunLength4) {
        auto expanded = expandDibRunLength(file.sliced(pixelsAt), format, layout.width, layout.height, !layout.topDown);
        if (!expanded)
            return failure(SkinError::FormatUnrecognized);
        rows = std::move(*expanded);
    } else {
        if (file.size() - pixelsAt < pixelBytes)
            return failure(SkinError::FormatUnrecognized);
        // Rows are stored bottom row first unless the height was negative.
        rows.resize(static_cast<std::size_t>(pixelBytes));
        const auto *pixels = reinterpret_cast<const std::uint8_t *>(file.data()) + pixelsAt;
        for (int y = 0; y < layout.height; ++y) {
            const int sourceRow = layout.topDown ? y : layout.height - 1 - y;
            std::copy_n(pixels + sourceRow * rowBytes, rowBytes, rows.begin() + y * rowBytes);
        }
    }
    QImage image = imageFromDibRows(format, layout.width, layout.height, rows, palette);
    if (image.isNull())
        return failure(SkinError::FormatUnrecognized);
    return { image, SkinError::None };
}
