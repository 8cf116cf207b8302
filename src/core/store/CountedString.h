#pragma once

#include "store/Cp1252.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#pragma pack(push, 1)

// A length byte followed by N bytes of Windows-1252 characters, as the
// records of the data files store names. Bytes after the length are not
// significant and are left as they are.
template <std::size_t N>
struct CountedString {
    std::uint8_t length;
    char chars[N];

    // The stored text; a length byte above N (a damaged file) reads as N.
    QString text() const { return cp1252::decode(chars, std::min<std::size_t>(length, N)); }

    // Stores the first N characters of the text.
    void setText(const QString &value)
    {
        const QByteArray bytes = cp1252::encode(value.left(qsizetype(N)));
        length = std::uint8_t(bytes.size());
        std::memcpy(chars, bytes.constData(), std::size_t(bytes.size()));
    }
};

#pragma pack(pop)

static_assert(sizeof(CountedString<64>) == 65);
