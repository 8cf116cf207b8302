#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <span>

// The run-length code of the pixel data. In plain mode a byte other than FF
// stands for itself, FF FF for one FF, and FF c switches to counted mode with
// control byte c. A control byte holds a count n (low 6 bits) and k (high 2
// bits): n = 0 ends the data; otherwise the next byte is repeated n times and
// k literal bytes follow; after them comes another control byte when k < 3,
// or plain mode again when k = 3.

struct [[nodiscard]] RunLengthDecoded {
    qsizetype consumed = 0; // bytes of code read, the end code included
    qsizetype written = 0; // bytes of `pixels` written, from the start
    bool complete = false; // false when the code ran out before its end code
};

// Decodes into `pixels`; output beyond its end is dropped, while the code is
// still read up to its end code. Bytes not reached keep their value.
RunLengthDecoded runLengthDecode(QByteArrayView code, std::span<std::uint8_t> pixels);

// Codes `pixels`, end code included.
[[nodiscard]] QByteArray runLengthEncode(QByteArrayView pixels);
