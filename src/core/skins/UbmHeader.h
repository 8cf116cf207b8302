#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <optional>

// The 20-byte header of a compressed bitmap (.ubm) file, little-endian.
struct UbmHeader {
    static constexpr qsizetype kSize = 20;
    static constexpr std::uint8_t kMagic0 = 0xFE; // the same two bytes also mark the pixel data
    static constexpr std::uint8_t kMagic1 = 0x4D;

    // Flags of byte 8.
    static constexpr std::uint8_t kAlphaBlock = 2; // an alpha block follows the pixel data
    static constexpr std::uint8_t kCompressed = 8; // the body is one LZHUF stream
    static constexpr std::uint8_t kStandardPalette = 16; // no palette stored

    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t storedFormat = 0; // format code of the pixel data in the file
    std::uint8_t builtFormat = 0; // format code of the bitmap to build
    std::uint8_t flags = 0;
    std::uint8_t paletteEntries = 0; // RGB triples stored before the pixel data
    std::uint32_t bodyLength = 0; // bytes 16..19: ours hold the decoded body length; never read back

    // The first 20 bytes of a file beginning FE 4D; nullopt when shorter or
    // not of that kind. Field values are not checked here.
    [[nodiscard]] static std::optional<UbmHeader> parse(QByteArrayView bytes);
    [[nodiscard]] QByteArray bytes() const;
};
