#include "core/windowlogic/WindowOutline.h"

#include <array>
#include <cstring>
#include <vector>

namespace {

constexpr QRgb kColourBits = 0x00FFFFFF;

// The outline of `pixels`, read row by row where they are stored: the skins'
// formats need no converted copy of the whole picture. `shows(line, x)` says
// whether pixel x of a row shows; `rowBytes` is how many bytes of a row hold
// its pixels, so that a row equal to the one above is known without reading
// its pixels one by one. Rows with equal runs merge into one band.
template <typename Shows> QList<QRect> scanRects(const QImage &pixels, std::size_t rowBytes, Shows shows)
{
    const int width = pixels.width();
    QList<QRect> rects;
    std::vector<int> previous; // the edges [x0, x1) of the previous row's runs, pair by pair
    std::vector<int> runs;
    qsizetype bandStart = 0; // first rectangle of the band the previous row belongs to
    for (int y = 0; y < pixels.height(); ++y) {
        const uchar *line = pixels.constScanLine(y);
        const bool sameAsAbove = y > 0 && std::memcmp(line, pixels.constScanLine(y - 1), rowBytes) == 0;
        if (!sameAsAbove) {
            runs.clear();
            int x = 0;
            while (x < width) {
                while (x < width && !shows(line, x))
                    ++x;
                if (x == width)
                    break;
                runs.push_back(x);
                while (x < width && shows(line, x))
                    ++x;
                runs.push_back(x);
            }
        }
        if (sameAsAbove || (!runs.empty() && runs == previous)) {
            for (qsizetype i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(y);
            continue;
        }
        bandStart = rects.size();
        for (std::size_t i = 0; i < runs.size(); i += 2)
            rects.append(QRect(runs[i], y, runs[i + 1] - runs[i], 1));
        std::swap(previous, runs);
    }
    return rects;
}

} // namespace

bool differsFromKey(QRgb pixel, QRgb key) { return (pixel & kColourBits) != (key & kColourBits); }

QList<QRect> outlineRects(const QImage &picture, QColor key)
{
    if (picture.isNull())
        return {};
    const auto width = std::size_t(picture.width());
    const QRgb keyRgb = key.rgb() & kColourBits;
    const auto red = uchar(qRed(keyRgb));
    const auto green = uchar(qGreen(keyRgb));
    const auto blue = uchar(qBlue(keyRgb));
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return scanRects(picture, width * 4, [keyRgb](const uchar *line, int x) {
            return (reinterpret_cast<const QRgb *>(line)[x] & kColourBits) != keyRgb;
        });
    case QImage::Format_RGB888:
        return scanRects(picture, width * 3, [red, green, blue](const uchar *line, int x) {
            const uchar *p = line + 3 * x;
            return p[0] != red || p[1] != green || p[2] != blue;
        });
    case QImage::Format_BGR888:
        return scanRects(picture, width * 3, [red, green, blue](const uchar *line, int x) {
            const uchar *p = line + 3 * x;
            return p[0] != blue || p[1] != green || p[2] != red;
        });
    case QImage::Format_Indexed8: {
        // As a conversion to 32 bits reads them: no table is a grey ramp,
        // and an index past a short table is opaque black.
        const QList<QRgb> table = picture.colorTable();
        std::array<bool, 256> shows {};
        for (int i = 0; i < 256; ++i) {
            const QRgb colour = table.isEmpty() ? qRgb(i, i, i) : i < table.size() ? table[i] : 0xFF000000;
            shows[std::size_t(i)] = differsFromKey(colour, keyRgb);
        }
        return scanRects(picture, width, [&shows](const uchar *line, int x) { return shows[line[x]]; });
    }
    default: {
        // Non-premultiplied, so that a pixel's colour is read as stored whatever its alpha.
        const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
        return outlineRects(pixels, key);
    }
    }
}

QRegion outlineRegion(const QImage &picture, QColor key)
{
    const QList<QRect> rects = outlineRects(picture, key);
    QRegion region;
    region.setRects(rects.constData(), int(rects.size()));
    return region;
}
