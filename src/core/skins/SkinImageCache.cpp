#include "core/skins/SkinImageCache.h"

#include "core/skins/DibFormat.h"
#include "core/skins/TCompressedDib.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cstring>

namespace {

constexpr std::array<char, 8> kMagic { 'T', 'W', 'S', 'K', 'I', 'N', '0', '1' };
// Written in the machine's own order; read back elsewhere it does not match.
constexpr quint32 kByteOrder = 0x01020304;

// What follows the magic and the byte order mark, before the path.
struct Key {
    qint64 sourceSize = 0;
    qint64 sourceTime = 0; // milliseconds since the epoch
    qint64 pathBytes = 0; // as wide as the others, so the record has no padding
};

struct Shape {
    qint32 width = 0;
    qint32 height = 0;
    qint32 format = 0;
    qint32 bytesPerLine = 0;
    quint32 colours = 0;
};

constexpr qsizetype kKeyOffset = qsizetype(sizeof kMagic) + qsizetype(sizeof kByteOrder);
constexpr qsizetype kChecksumSize = sizeof(quint64);

// Only the formats the skin decoder builds.
bool isKnownFormat(qint32 format)
{
    switch (QImage::Format(format)) {
    case QImage::Format_Mono:
    case QImage::Format_Indexed8:
    case QImage::Format_RGB555:
    case QImage::Format_RGB16:
    case QImage::Format_BGR888:
    case QImage::Format_RGB32:
        return true;
    default:
        return false;
    }
}

quint64 mix(quint64 hash, quint64 word)
{
    hash ^= word;
    hash *= 0x9E3779B97F4A7C15ull;
    return hash ^ (hash >> 29);
}

// A fast checksum that notices any changed, lost or shifted byte with near certainty.
quint64 checksum(quint64 hash, const uchar *data, qsizetype size)
{
    hash = mix(hash, quint64(size));
    qsizetype at = 0;
    for (; at + 8 <= size; at += 8) {
        quint64 word;
        std::memcpy(&word, data + at, sizeof word);
        hash = mix(hash, word);
    }
    quint64 tail = 0;
    if (at < size) // an empty image has no bits at all, not even a pointer
        std::memcpy(&tail, data + at, std::size_t(size - at));
    return mix(hash, tail);
}

template <typename T> void append(QByteArray &out, const T &value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

template <typename T> bool take(QByteArrayView bytes, qsizetype &at, T &value)
{
    if (bytes.size() - at < qsizetype(sizeof value))
        return false;
    std::memcpy(&value, bytes.data() + at, sizeof value);
    at += sizeof value;
    return true;
}

Key keyOf(const QFileInfo &source, const QByteArray &path)
{
    return { source.size(), source.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch(),
        qint64(path.size()) };
}

bool sameKey(const Key &a, const Key &b)
{
    return a.sourceSize == b.sourceSize && a.sourceTime == b.sourceTime && a.pathBytes == b.pathBytes;
}

// The bytes of a row the format needs at least and may have at most.
bool plausibleRow(const Shape &shape)
{
    const qint64 bits = qint64(shape.width) * QImage::toPixelFormat(QImage::Format(shape.format)).bitsPerPixel();
    return shape.bytesPerLine >= (bits + 7) / 8 && shape.bytesPerLine <= (bits + 7) / 8 + 8;
}

} // namespace

SkinImageCache::SkinImageCache(QString folder)
    : m_folder(std::move(folder))
{
}

QString SkinImageCache::defaultFolder()
{
    // Relative values are to be ignored, as for every XDG base directory.
    QString base = qEnvironmentVariable("XDG_CACHE_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::home().filePath(QStringLiteral(".cache"));
    return QDir(base).filePath(QStringLiteral("tollwise"));
}

QString SkinImageCache::entryPath(const QFileInfo &source) const
{
    const QByteArray name
        = QCryptographicHash::hash(source.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(m_folder).filePath(QStringLiteral("skins/") + QString::fromLatin1(name) + QStringLiteral(".image"));
}

SkinImageLoaded SkinImageCache::load(const QString &path) const
{
    const QFileInfo source(path);
    if (!m_folder.isEmpty() && source.isFile()) {
        if (std::optional<QImage> cached = find(source))
            return { std::move(*cached), SkinError::None };
    }
    const DibLoaded decoded = TCompressedDib::fromFile(path);
    if (decoded.error != SkinError::None)
        return { {}, decoded.error };
    if (!m_folder.isEmpty())
        store(source, decoded.dib.image());
    return { decoded.dib.image(), SkinError::None };
}

std::optional<QImage> SkinImageCache::find(const QFileInfo &source) const
{
    if (m_folder.isEmpty())
        return std::nullopt;
    QFile file(entryPath(source));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray path = source.absoluteFilePath().toUtf8();
    const Key expected = keyOf(source, path);
    const qsizetype headerSize = kKeyOffset + qsizetype(sizeof(Key)) + path.size() + qsizetype(sizeof(Shape));
    const qint64 fileSize = file.size();
    if (fileSize < headerSize + kChecksumSize)
        return std::nullopt;
    QByteArray header = file.read(headerSize);
    if (header.size() != headerSize)
        return std::nullopt;

    qsizetype at = 0;
    std::array<char, 8> magic {};
    quint32 order = 0;
    Key key;
    if (!take(header, at, magic) || magic != kMagic || !take(header, at, order) || order != kByteOrder
        || !take(header, at, key) || !sameKey(key, expected) || QByteArrayView(header).sliced(at, path.size()) != path)
        return std::nullopt;
    at += path.size();
    Shape shape;
    if (!take(header, at, shape))
        return std::nullopt;
    if (!isKnownFormat(shape.format) || shape.width <= 0 || shape.height <= 0 || shape.width > kMaxDibSide
        || shape.height > kMaxDibSide || !plausibleRow(shape) || shape.colours > 256)
        return std::nullopt;
    const qint64 pixelBytes = qint64(shape.bytesPerLine) * shape.height;
    const qint64 colourBytes = qint64(shape.colours) * qint64(sizeof(QRgb));
    // The whole size must be right before anything is allocated for the pixels.
    if (fileSize != headerSize + colourBytes + pixelBytes + kChecksumSize)
        return std::nullopt;

    const QByteArray colourData = file.read(colourBytes);
    if (colourData.size() != colourBytes)
        return std::nullopt;
    QImage image(shape.width, shape.height, QImage::Format(shape.format));
    if (image.isNull() || image.bytesPerLine() != shape.bytesPerLine || image.sizeInBytes() != pixelBytes)
        return std::nullopt;
    if (file.read(reinterpret_cast<char *>(image.bits()), pixelBytes) != pixelBytes)
        return std::nullopt;
    quint64 stored = 0;
    if (file.read(reinterpret_cast<char *>(&stored), sizeof stored) != qint64(sizeof stored))
        return std::nullopt;
    quint64 sum = checksum(0, reinterpret_cast<const uchar *>(header.constData()), header.size());
    sum = checksum(sum, reinterpret_cast<const uchar *>(colourData.constData()), colourData.size());
    sum = checksum(sum, image.constBits(), pixelBytes);
    if (sum != stored)
        return std::nullopt;

    QList<QRgb> colours(shape.colours);
    if (colourBytes > 0) // an image with no colour table has nothing to copy, not even a pointer
        std::memcpy(colours.data(), colourData.constData(), std::size_t(colourBytes));
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_Indexed8)
        image.setColorTable(colours);
    else if (!colours.isEmpty())
        return std::nullopt;
    return image;
}

void SkinImageCache::store(const QFileInfo &source, const QImage &image) const
{
    if (m_folder.isEmpty() || !isKnownFormat(image.format()))
        return;
    const QByteArray path = source.absoluteFilePath().toUtf8();
    QByteArray header;
    header.append(kMagic.data(), kMagic.size());
    append(header, kByteOrder);
    append(header, keyOf(source, path));
    header.append(path);
    const QList<QRgb> colours = image.colorTable();
    append(header,
        Shape { image.width(), image.height(), qint32(image.format()), qint32(image.bytesPerLine()),
            quint32(colours.size()) });
    const auto *colourData = reinterpret_cast<const uchar *>(colours.constData());
    const qsizetype colourBytes = colours.size() * qsizetype(sizeof(QRgb));
    quint64 sum = checksum(0, reinterpret_cast<const uchar *>(header.constData()), header.size());
    sum = checksum(sum, colourData, colourBytes);
    sum = checksum(sum, image.constBits(), image.sizeInBytes());

    const QString entry = entryPath(source);
    if (!QDir().mkpath(QFileInfo(entry).path()))
        return;
    QSaveFile file(entry);
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(header);
    file.write(reinterpret_cast<const char *>(colourData), colourBytes);
    file.write(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
    file.write(reinterpret_cast<const char *>(&sum), sizeof sum);
    file.commit();
}
