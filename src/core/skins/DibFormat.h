#pragma once

#include <QImage>
#include <QList>

#include <cstdint>
#include <optional>

// The pixel formats of a device-independent bitmap, numbered by their codes in
// a compressed bitmap file. Rows are laid out as a Windows bitmap lays them out:
// palette indexes packed from the most significant bits, blue-green-red byte
// order, each row padded to a multiple of 4 bytes.
enum class DibFormat : std::uint8_t {
    Bits1 = 0, // 2-colour palette
    Bits4 = 1, // 16-colour palette
    Bits8 = 2, // 256-colour palette
    Bits16Rgb555 = 3, // five bits each of red, green, blue
    Bits16Rgb565 = 4, // masks F800, 07E0, 001F
    Bits24 = 5,
    Bits32 = 6,
};

// The largest width and height we accept from any file.
inline constexpr int kMaxDibSide = 8192;

[[nodiscard]] std::optional<DibFormat> dibFormatFromCode(int code);
[[nodiscard]] int dibBitsPerPixel(DibFormat format);
[[nodiscard]] bool dibHasPalette(DibFormat format);
// 2, 16 or 256 for the palette formats, 0 for the others.
[[nodiscard]] int dibPaletteCapacity(DibFormat format);
// Bytes of one row, a multiple of 4.
[[nodiscard]] qsizetype dibRowBytes(DibFormat format, int width);

// The image format a decoded bitmap of this format is held in. 4-bit bitmaps
// are held as 8-bit indexed images with a palette of at most 16 colours.
[[nodiscard]] QImage::Format dibImageFormat(DibFormat format);

// The palette used when a file stores none: black and white; the 16 basic
// colours; or a fixed 256-colour table that begins and ends with the system's
// static colours. Empty for the formats without a palette.
[[nodiscard]] QList<QRgb> standardPalette(DibFormat format);
