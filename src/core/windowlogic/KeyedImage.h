#pragma once

#include <QColor>
#include <QImage>

// A skin picture ready to draw over something else: pixels of the key colour
// become fully transparent, every other pixel fully opaque (skins carry no
// alpha of their own). The same exact comparison as the window outline.
// A null picture gives a null image.
[[nodiscard]] QImage keyedImage(const QImage &picture, QColor key);
