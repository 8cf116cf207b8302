#include "core/skins/SkinImageCache.h"

#include "core/skins/TCompressedDib.h"
#include "core/skins/UbmEncoder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A picture whose every row differs, so a shifted or swapped row shows.
QImage picture(QRgb seed)
{
    QImage image(37, 23, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, seed ^ qRgb(x * 7, y * 11, (x + y) * 3));
    return image;
}

QByteArray ubm(const QImage &image, DibFormat format)
{
    const UbmEncoded encoded = encodeUbm(image, { format, format, true, false });
    EXPECT_TRUE(encoded.error.isEmpty()) << qPrintable(encoded.error);
    return encoded.bytes;
}

class SkinImageCacheTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("skin"));
        m_source = QDir(m_dir.path()).filePath(QStringLiteral("skin/face.ubm"));
        writeAll(m_source, ubm(picture(qRgb(10, 20, 30)), DibFormat::Bits24));
        m_cache = SkinImageCache(QDir(m_dir.path()).filePath(QStringLiteral("cache")));
    }

    QImage decoded() const { return TCompressedDib::fromFile(m_source).dib.image(); }
    QString entry() const { return m_cache.entryPath(QFileInfo(m_source)); }

    QTemporaryDir m_dir;
    QString m_source;
    SkinImageCache m_cache;
};

} // namespace

TEST_F(SkinImageCacheTest, KeepsEveryBuiltFormatExactly)
{
    const struct {
        const char *what;
        DibFormat format;
    } cases[] = {
        { "1 bit", DibFormat::Bits1 },
        { "4 bits", DibFormat::Bits4 },
        { "8 bits", DibFormat::Bits8 },
        { "15 bits", DibFormat::Bits16Rgb555 },
        { "16 bits", DibFormat::Bits16Rgb565 },
        { "24 bits", DibFormat::Bits24 },
        { "32 bits", DibFormat::Bits32 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(m_source, ubm(picture(qRgb(200, 100, 50)), c.format));
        const QImage expected = decoded();
        ASSERT_FALSE(expected.isNull());
        const SkinImageLoaded first = m_cache.load(m_source);
        ASSERT_EQ(first.error, SkinError::None);
        EXPECT_EQ(first.image, expected);
        const std::optional<QImage> kept = m_cache.find(QFileInfo(m_source));
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(kept->format(), expected.format());
        EXPECT_EQ(kept->colorTable(), expected.colorTable());
        EXPECT_EQ(*kept, expected);
    }
}

// Whatever happened to an entry, the picture shown is the skin file's own,
// and the entry is sound again afterwards; the skin file is never written.
TEST_F(SkinImageCacheTest, DamagedOrStaleEntriesAreRebuilt)
{
    ASSERT_EQ(m_cache.load(m_source).error, SkinError::None);
    const QByteArray sound = readAll(entry());
    const QByteArray skin = readAll(m_source);
    const qsizetype pathAt = 8 + 4 + 24;
    const qsizetype shapeAt = pathAt + QFileInfo(m_source).absoluteFilePath().toUtf8().size();
    const qsizetype pixelsAt = shapeAt + 20;
    const auto flip = [&](qsizetype at) {
        return [&sound, at] {
            QByteArray bytes = sound;
            bytes[at] = char(bytes[at] ^ 0x10);
            return bytes;
        };
    };
    QByteArray staleEntry;
    const auto cut = [&](qsizetype size) { return [&sound, size] { return sound.left(size); }; };
    const auto withShape = [&](int field, qint32 value) {
        return [&sound, shapeAt, field, value] {
            QByteArray bytes = sound;
            std::memcpy(bytes.data() + shapeAt + field * 4, &value, sizeof value);
            return bytes;
        };
    };
    const struct {
        const char *what;
        std::function<QByteArray()> entry;
        std::function<void()> before = {};
    } cases[] = {
        { "empty", cut(0) },
        { "magic only", cut(8) },
        { "cut in the path", cut(pathAt + 3) },
        { "cut in the shape", cut(shapeAt + 6) },
        { "cut in the pixels", cut(pixelsAt + 100) },
        { "checksum missing", cut(sound.size() - 8) },
        { "checksum cut", cut(sound.size() - 3) },
        { "a byte more", [&] { return sound + '\0'; } },
        { "magic changed", flip(2) },
        { "byte order changed", flip(8) },
        { "size key changed", flip(12) },
        { "time key changed", flip(20) },
        { "path changed", flip(pathAt + 1) },
        { "first pixel changed", flip(pixelsAt) },
        { "last pixel changed", flip(sound.size() - 9) },
        { "checksum changed", flip(sound.size() - 1) },
        { "width wider", withShape(0, 38) },
        { "height huge", withShape(1, 1 << 30) },
        { "negative height", withShape(1, -23) },
        { "unknown format", withShape(2, int(QImage::Format_ARGB32)) },
        { "format out of range", withShape(2, 9999) },
        { "row length wrong", withShape(3, 37 * 4 + 4) },
        { "colour count huge", withShape(4, -1) },
        { "garbage", [] { return QByteArray(4096, '\x5A'); } },
        { "another file's entry",
            [&] {
                const QString other = QDir(m_dir.path()).filePath(QStringLiteral("skin/other.ubm"));
                writeAll(other, ubm(picture(qRgb(1, 2, 3)), DibFormat::Bits24));
                (void)m_cache.load(other);
                return readAll(m_cache.entryPath(QFileInfo(other)));
            } },
        { "skin file changed, same size", [&] { return staleEntry; },
            [&] {
                const auto plain = [](QRgb seed) {
                    return encodeUbm(picture(seed), { DibFormat::Bits24, DibFormat::Bits24, false, false }).bytes;
                };
                writeAll(m_source, plain(qRgb(1, 1, 1)));
                (void)m_cache.load(m_source);
                staleEntry = readAll(entry());
                writeAll(m_source, plain(qRgb(2, 2, 2)));
                QFile file(m_source);
                ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
            } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeAll(m_source, skin);
        if (c.before)
            c.before();
        const QByteArray skinNow = readAll(m_source);
        writeAll(entry(), c.entry());
        const SkinImageLoaded loaded = m_cache.load(m_source);
        ASSERT_EQ(loaded.error, SkinError::None);
        EXPECT_EQ(loaded.image, decoded());
        const std::optional<QImage> rebuilt = m_cache.find(QFileInfo(m_source));
        ASSERT_TRUE(rebuilt.has_value());
        EXPECT_EQ(*rebuilt, decoded());
        EXPECT_EQ(readAll(m_source), skinNow);
    }
}

TEST_F(SkinImageCacheTest, WorksWithoutAWritableCache)
{
    const QString blocked = QDir(m_dir.path()).filePath(QStringLiteral("blocked"));
    writeAll(blocked, "a file where the folder should be");
    const struct {
        const char *what;
        SkinImageCache cache;
    } cases[] = {
        { "no folder", SkinImageCache() },
        { "folder is a file", SkinImageCache(blocked) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const SkinImageLoaded loaded = c.cache.load(m_source);
        ASSERT_EQ(loaded.error, SkinError::None);
        EXPECT_EQ(loaded.image, decoded());
        EXPECT_FALSE(c.cache.find(QFileInfo(m_source)).has_value());
    }
    // A damaged skin file is reported, never kept.
    writeAll(m_source, "FE4D but not really");
    EXPECT_NE(m_cache.load(m_source).error, SkinError::None);
    EXPECT_FALSE(QFileInfo::exists(entry()));
}

TEST(SkinImageCacheFolder, FollowsTheUsersCacheHome)
{
    const QByteArray saved = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/somewhere/cache");
    EXPECT_EQ(SkinImageCache::defaultFolder(), QStringLiteral("/somewhere/cache/tollwise"));
    qputenv("XDG_CACHE_HOME", "relative/cache");
    EXPECT_EQ(SkinImageCache::defaultFolder(), QDir::home().filePath(QStringLiteral(".cache/tollwise")));
    if (saved.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", saved);
}
