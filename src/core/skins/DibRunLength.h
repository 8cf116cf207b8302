#pragma once

#include "core/skins/DibFormat.h"

#include <QByteArrayView>

#include <cstdint>
#include <optional>
#include <vector>

// Expands the run-length coded pixels of an 8-bit or 4-bit Windows bitmap
// (`format` Bits8 or Bits4) into plain rows, top row first, each
// dibRowBytes(format, width) long; `bottomUp` when the code starts with the
// bottom row, as it normally does. Pixels the code skips stay
// index 0, and runs beyond a row's end or the last row are dropped. Empty
// when the data ends before the last row does.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> expandDibRunLength(
    QByteArrayView data, DibFormat format, int width, int height, bool bottomUp);
