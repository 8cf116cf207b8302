#include "core/windowlogic/KeyedImage.h"

#include "core/windowlogic/WindowOutline.h"

QImage keyedImage(const QImage &picture, QColor key)
{
    if (picture.isNull())
        return {};
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key.rgb();
    for (int y = 0; y < result.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x)
            row[x] = differsFromKey(row[x], keyRgb) ? (row[x] | 0xFF000000u) : 0u;
    }
    return result;
}
