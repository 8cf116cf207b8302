#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QRect>
#include <QRegion>

// The visible shape of a skinned window: every pixel of its picture whose
// colour differs from the key colour in red, green or blue (exact
// comparison; alpha is ignored).
//
// Coordinates are picture pixels, which are the window's logical pixels.
// At an integer device pixel ratio the window system scales the region by
// the same factor as the picture, so the outline stays exact.

// The key colour of every skin picture: pure blue.
inline constexpr QRgb kSkinKeyColour = 0xFF0000FF;

// True when `pixel` shows (is not the key colour).
[[nodiscard]] bool differsFromKey(QRgb pixel, QRgb key);

// The maximal runs of showing pixels, row by row, each run one rectangle of
// height 1 (top row first, left to right within a row); consecutive rows
// with identical runs are merged into taller rectangles. The rectangles
// never overlap and are ordered as QRegion::setRects expects.
[[nodiscard]] QList<QRect> outlineRects(const QImage &picture, QColor key);

// The union of outlineRects; empty for a null picture or one that is all key.
[[nodiscard]] QRegion outlineRegion(const QImage &picture, QColor key);
