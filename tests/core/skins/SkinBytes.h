#pragma once

#include <QByteArray>

#include <cstdint>
#include <initializer_list>

// Builds test files byte by byte.
inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out.append(char(value));
    return out;
}

inline void appendU16(QByteArray &out, std::uint32_t value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

inline void appendU32(QByteArray &out, std::uint32_t value)
{
    appendU16(out, value & 0xFFFF);
    appendU16(out, value >> 16);
}

// A compressed-bitmap header written out by hand: FE 4D, width, height,
// stored and built format, flags, one unread byte, palette entries, nine
// unread bytes.
inline QByteArray ubmHeader(int width, int height, int stored, int built, int flags, int paletteEntries)
{
    QByteArray out = bytes({ 0xFE, 0x4D });
    appendU16(out, std::uint32_t(width));
    appendU16(out, std::uint32_t(height));
    out += bytes({ stored, built, flags, 0, paletteEntries });
    out += QByteArray(9, '\0');
    return out;
}
