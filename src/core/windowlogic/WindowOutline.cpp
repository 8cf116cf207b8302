#include "core/windowlogic/WindowOutline.h"

namespace {

constexpr QRgb kColourBits = 0x00FFFFFF;

// Runs of one row as [x0, x1) pairs.
QList<QPair<int, int>> rowRuns(const QRgb *row, int width, QRgb key)
{
    QList<QPair<int, int>> runs;
    int x = 0;
    while (x < width) {
        while (x < width && !differsFromKey(row[x], key))
            ++x;
        if (x == width)
            break;
        const int start = x;
        while (x < width && differsFromKey(row[x], key))
            ++x;
        runs.append({ start, x });
    }
    return runs;
}

} // namespace

bool differsFromKey(QRgb pixel, QRgb key) { return (pixel & kColourBits) != (key & kColourBits); }

QList<QRect> outlineRects(const QImage &picture, QColor key)
{
    QList<QRect> rects;
    if (picture.isNull())
        return rects;
    // Non-premultiplied, so that a pixel's colour is read as stored whatever its alpha.
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key.rgb();

    QList<QPair<int, int>> previous;
    qsizetype bandStart = 0; // first rectangle of the band the previous row belongs to
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        const QList<QPair<int, int>> runs = rowRuns(row, pixels.width(), keyRgb);
        if (!runs.isEmpty() && runs == previous) {
            for (qsizetype i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(y);
        } else {
            bandStart = rects.size();
            for (const auto &[x0, x1] : runs)
                rects.append(QRect(x0, y, x1 - x0, 1));
        }
        previous = runs;
    }
    return rects;
}

QRegion outlineRegion(const QImage &picture, QColor key)
{
    const QList<QRect> rects = outlineRects(picture, key);
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}
