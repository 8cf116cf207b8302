#include "core/skins/TCompressedDib.h"

#include "core/skins/DibFormat.h"
#include "core/skins/DibPixels.h"
#include "core/skins/Lzhuf.h"
#include "core/skins/RunLengthCode.h"
#include "core/skins/UbmHeader.h"
#include "core/skins/WindowsBitmap.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QtEndian>

#include <span>

namespace {

// Larger files are refused unread; a legitimate one never comes near.
constexpr qint64 kMaxFileSize = qint64(1) << 30;

constexpr std::uint8_t kAlphaMarker = 0xA6;
constexpr qsizetype kAlphaDescriptorSize = 126;

// The most a body could decode to for a header: palette, both markers, pixel
// code at its worst (every byte doubled) and an alpha block of 4 bytes per pixel.
qsizetype bodyLimit(const UbmHeader &header, DibFormat stored)
{
    const qsizetype pixels = qsizetype(header.width) * header.height;
    const qsizetype pixelBytes = dibRowBytes(stored, header.width) * header.height;
    return 255 * 3 + 4 + 2 * pixelBytes + 2 + 2 + kAlphaDescriptorSize + 4 * pixels;
}

bool hasMarker(QByteArrayView body, qsizetype at)
{
    return at + 2 <= body.size() && std::uint8_t(body[at]) == UbmHeader::kMagic0
        && std::uint8_t(body[at + 1]) == UbmHeader::kMagic1;
}

SkinError skipAlphaBlock(QByteArrayView body, qsizetype at)
{
    if (at >= body.size() || std::uint8_t(body[at]) != kAlphaMarker)
        return SkinError::AlphaStart;
    ++at;
    if (body.size() - at < kAlphaDescriptorSize)
        return SkinError::AlphaEnd;
    const qsizetype length = qFromLittleEndian<quint32>(body.data() + at + 2);
    at += kAlphaDescriptorSize;
    if (body.size() - at <= length || std::uint8_t(body[at + length]) != kAlphaMarker)
        return SkinError::AlphaEnd;
    return SkinError::None;
}

struct ImageOrError {
    QImage image;
    SkinError error = SkinError::None;
};

ImageOrError decodeCompressedDib(QByteArrayView file)
{
    const std::optional<UbmHeader> header = UbmHeader::parse(file);
    if (!header)
        return { {}, SkinError::FormatUnrecognized };
    const std::optional<DibFormat> stored = dibFormatFromCode(header->storedFormat);
    const std::optional<DibFormat> built = dibFormatFromCode(header->builtFormat);
    if (!stored || !built || header->width == 0 || header->height == 0 || header->width > kMaxDibSide
        || header->height > kMaxDibSide)
        return { {}, SkinError::FormatUnrecognized };

    QByteArrayView body = file.sliced(UbmHeader::kSize);
    QByteArray decoded;
    if (header->flags & UbmHeader::kCompressed) {
        LzhufDecoded result = lzhufDecode(body, bodyLimit(*header, *stored));
        if (result.error != SkinError::None)
            return { {}, result.error };
        decoded = std::move(result.bytes);
        body = decoded;
    }

    qsizetype at = 0;
    QList<QRgb> palette;
    if (dibHasPalette(*stored) && !(header->flags & UbmHeader::kStandardPalette)) {
        const qsizetype bytes = qsizetype(header->paletteEntries) * 3;
        if (body.size() < bytes)
            return { {}, SkinError::PixelDataStart };
        for (qsizetype i = 0; i < bytes; i += 3)
            palette.append(qRgb(std::uint8_t(body[i]), std::uint8_t(body[i + 1]), std::uint8_t(body[i + 2])));
        at = bytes;
    } else if (dibHasPalette(*stored)) {
        palette = standardPalette(*stored);
    } else {
        palette = standardPalette(*built);
    }

    if (!hasMarker(body, at))
        return { {}, SkinError::PixelDataStart };
    at += 2;

    // The pixels are decoded straight into the image's rows; a failed
    // allocation gives a null image, not a throw.
    QImage image = dibCanvas(*stored, header->width, header->height);
    if (image.isNull())
        return { {}, SkinError::PixelDataStart };
    const std::span<std::uint8_t> rows(image.bits(), std::size_t(image.sizeInBytes()));
    const RunLengthDecoded pixels = runLengthDecode(body.sliced(at), rows);
    if (!pixels.complete)
        return { {}, SkinError::PixelDataEnd };
    std::fill(rows.begin() + pixels.written, rows.end(), std::uint8_t(0));
    at += pixels.consumed;
    if (!hasMarker(body, at))
        return { {}, SkinError::PixelDataEnd };
    at += 2;

    if (header->flags & UbmHeader::kAlphaBlock) {
        const SkinError alpha = skipAlphaBlock(body, at);
        if (alpha != SkinError::None)
            return { {}, alpha };
    }

    image = finishDibCanvas(std::move(image), *stored, header->width, palette);
    if (!image.isNull() && *stored != *built)
        image = convertToDibFormat(image, *built, palette);
    if (image.isNull())
        return { {}, SkinError::PixelDataStart };
    return { image, SkinError::None };
}

} // namespace

DibLoaded TCompressedDib::fromBytes(QByteArrayView file)
{
    ImageOrError result;
    if (file.size() >= 2 && file[0] == 'B' && file[1] == 'M') {
        DibDecoded bitmap = readWindowsBitmap(file);
        result = { std::move(bitmap.image), bitmap.error };
    } else {
        result = decodeCompressedDib(file);
    }
    if (result.error != SkinError::None)
        return { {}, result.error };
    return { TCompressedDib(std::move(result.image)), SkinError::None };
}

DibLoaded TCompressedDib::fromFile(const QString &path)
{
    QFile file(path);
    // A device or pipe under an image's name would block the reader.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return { {}, SkinError::FormatUnrecognized };
    return fromBytes(file.readAll());
}

void TCompressedDib::draw(QPainter &painter, const QPoint &target, const QRect &source) const
{
    painter.drawImage(target, m_image, source);
}
