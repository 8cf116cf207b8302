#pragma once

#include "core/skins/DibFormat.h"

#include <QByteArray>
#include <QImage>
#include <QList>

#include <cstdint>
#include <span>

// Conversions between bitmap rows as a device-independent bitmap lays them out
// (top row first, rows padded to 4 bytes) and images.

// A blank image whose bits hold the rows of `format` exactly as a bitmap lays
// them out (bytesPerLine is dibRowBytes). Null when the memory cannot be had.
[[nodiscard]] QImage dibCanvas(DibFormat format, int width, int height);

// Turns a canvas filled with rows into the image of `format`: palette formats
// get `palette`, cut or filled with black to the format's size.
[[nodiscard]] QImage finishDibCanvas(QImage canvas, DibFormat format, int width, const QList<QRgb> &palette);

// The image of `format` holding `rows` (height * dibRowBytes bytes). Palette
// formats get `palette`, cut or filled with black to the format's size.
// A null image when the memory cannot be had.
[[nodiscard]] QImage imageFromDibRows(
    DibFormat format, int width, int height, std::span<const std::uint8_t> rows, const QList<QRgb> &palette);

// The image converted to `format`, palette formats mapping every colour to the
// nearest entry of `palette`.
[[nodiscard]] QImage convertToDibFormat(const QImage &image, DibFormat format, const QList<QRgb> &palette);

// The rows of `image` in `format`, palette formats by the nearest entry of `palette`.
[[nodiscard]] QByteArray dibRowsFromImage(const QImage &image, DibFormat format, const QList<QRgb> &palette);
