#pragma once

#include "core/skins/SkinError.h"

#include <QByteArray>
#include <QByteArrayView>

// LZHUF: LZSS over a 4096-byte ring buffer (the first 4036 bytes start as
// blanks, matches of 3 to 60 bytes) with an adaptive Huffman code for literals
// and match lengths and a fixed code for the upper 6 bits of match positions.
// A stream is the decoded length (u32, little-endian) followed by the code,
// most significant bit first.

struct [[nodiscard]] LzhufDecoded {
    QByteArray bytes;
    SkinError error = SkinError::None;
};

// Decodes a whole stream. A stream claiming more than `maxLength` bytes, or
// more than its code could possibly hold, is refused before anything is
// allocated; a code that ends before the claimed length is an error.
LzhufDecoded lzhufDecode(QByteArrayView stream, qsizetype maxLength);

// Codes `data` as a stream that lzhufDecode (and the classic decoder) reads back.
[[nodiscard]] QByteArray lzhufEncode(QByteArrayView data);
