#pragma once

#include "core/skins/SkinError.h"

#include <QByteArrayView>
#include <QImage>

struct [[nodiscard]] DibDecoded {
    QImage image;
    SkinError error = SkinError::None;
};

// Reads a Windows bitmap file ("BM") of 1, 4, 8, 16 (five bits per colour, or
// the bit fields 565), 24 or 32 bits per pixel, uncompressed or (8 and 4 bits)
// run-length coded, into an image of the matching DibFormat. Every size and
// offset in the file is checked against the file before use.
DibDecoded readWindowsBitmap(QByteArrayView file);
