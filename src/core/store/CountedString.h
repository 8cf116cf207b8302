#pragma once

#include "core/store/Cp1252.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma pack(push, 1)

// A length byte followed by N bytes of a name, as the records of the data
// files store them: Windows-1252, or UTF-8 for a name the code page cannot
// hold. Bytes after the length are not significant and are left as they are.
template <std::size_t N> struct CountedString {
    std::uint8_t length;
    char chars[N];

    // The stored text; a length byte above N (a damaged file) reads as N.
    QString text() const { return cp1252::decodeName(chars, std::min<std::size_t>(length, N)); }

    // Stores as much of the text as N bytes hold.
    void setText(const QString &value)
    {
        const QByteArray bytes = cp1252::encodeName(value, N);
        length = std::uint8_t(bytes.size());
        std::memcpy(chars, bytes.constData(), std::size_t(bytes.size()));
    }
};

#pragma pack(pop)

static_assert(sizeof(CountedString<64>) == 65);
