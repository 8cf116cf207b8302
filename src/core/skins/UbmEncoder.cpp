#include "core/skins/UbmEncoder.h"

#include "core/skins/DibPixels.h"
#include "core/skins/Lzhuf.h"
#include "core/skins/RunLengthCode.h"
#include "core/skins/UbmHeader.h"

#include <QHash>

#include <algorithm>

namespace {

// The byte that counts stored palette entries allows 255 of them.
constexpr int kMaxStoredEntries = 255;

QList<QRgb> paletteOfImage(const QImage &image, DibFormat format)
{
    const int capacity = std::min(dibPaletteCapacity(format), kMaxStoredEntries);
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, qsizetype> counts;
    QList<QRgb> order;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb colour = line[x] | 0xFF000000u;
            auto found = counts.find(colour);
            if (found == counts.end()) {
                counts.insert(colour, 1);
                order.append(colour);
            } else {
                ++*found;
            }
        }
    }
    if (order.size() > capacity) {
        std::stable_sort(
            order.begin(), order.end(), [&counts](QRgb a, QRgb b) { return counts.value(a) > counts.value(b); });
        order.resize(capacity);
    }
    return order;
}

} // namespace

UbmEncoded encodeUbm(const QImage &image, const UbmOptions &options)
{
    if (image.isNull() || image.width() > kMaxDibSide || image.height() > kMaxDibSide)
        return { {}, QStringLiteral("the image must be 1 to %1 pixels wide and high").arg(kMaxDibSide) };

    const DibFormat stored = options.storedFormat;
    QList<QRgb> palette;
    bool storePalette = false;
    if (dibHasPalette(stored)) {
        storePalette = !options.standardPalette;
        palette = storePalette ? paletteOfImage(image, stored) : standardPalette(stored);
    }

    QByteArray body;
    if (storePalette) {
        for (const QRgb colour : std::as_const(palette)) {
            body.append(char(qRed(colour)));
            body.append(char(qGreen(colour)));
            body.append(char(qBlue(colour)));
        }
    }
    const QByteArray marker { "\xFE\x4D", 2 };
    body.append(marker);
    body.append(runLengthEncode(dibRowsFromImage(image, stored, palette)));
    body.append(marker);

    UbmHeader header;
    header.width = std::uint16_t(image.width());
    header.height = std::uint16_t(image.height());
    header.storedFormat = std::uint8_t(stored);
    header.builtFormat = std::uint8_t(options.builtFormat);
    header.flags = std::uint8_t(
        (options.compress ? UbmHeader::kCompressed : 0) | (options.standardPalette ? UbmHeader::kStandardPalette : 0));
    header.paletteEntries = std::uint8_t(storePalette ? palette.size() : 0);
    header.bodyLength = std::uint32_t(body.size());

    QByteArray file = header.bytes();
    file.append(options.compress ? lzhufEncode(body) : body);
    return { file, {} };
}
