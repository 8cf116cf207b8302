#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// A looping GIF89a animation: frames of palette indexes (8-bit indexed
// images, all of `size`) over one global palette of at most 256 colours.
struct GifAnimation {
    QSize size;
    QList<QRgb> palette;
    QList<QImage> frames;
    int delayCentiseconds = 8; // between frames
};

// The file bytes; empty when the frames do not fit the description above.
[[nodiscard]] QByteArray encodeGif(const GifAnimation &animation);
