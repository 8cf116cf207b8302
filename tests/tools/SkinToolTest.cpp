#include "tools/SkinTool.h"

#include "core/skins/TCompressedDib.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// 2 x 1, 24 bits, uncompressed: a red and a green pixel.
const QByteArray kRedGreen = QByteArray::fromHex("fe4d 0200 0100 0505 0000 0000 0000 0000 0000 0000"
                                                 "fe4d 0000 c8 00 c8 00 0000 ff00 fe4d");

class SkinToolTest : public ::testing::Test {
protected:
    QString path(const QString &name) const { return QDir(m_folder.path()).filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    QTemporaryDir m_folder;
};

} // namespace

TEST_F(SkinToolTest, UnpackOfADamagedFileFailsWithTheReadersText)
{
    const struct {
        QByteArray file;
        const char *text;
    } cases[] = {
        { kRedGreen.chopped(1), "Abnormal CompressedDIB Loading Terminaison !" },
        { QByteArray("GIF89a and more"), "DIB File Format Unrecognized !" },
        { kRedGreen.first(22) + QByteArray::fromHex("0000 c8"), "Abnormal CompressedDIB Loading Terminaison !" },
    };
    for (const auto &c : cases) {
        const QString in = write(QStringLiteral("damaged.ubm"), c.file);
        const SkinToolRun run = runSkinTool({ QStringLiteral("unpack"), in, path(QStringLiteral("out.png")) });
        EXPECT_EQ(run.exitCode, 1) << c.text;
        EXPECT_TRUE(run.err.contains(QLatin1String(c.text))) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(path(QStringLiteral("out.png"))));
    }
}

TEST_F(SkinToolTest, UnpacksToAPngOfTheSamePixels)
{
    const QString in = write(QStringLiteral("pair.ubm"), kRedGreen);
    const SkinToolRun run = runSkinTool({ QStringLiteral("unpack"), in, path(QStringLiteral("pair.png")) });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage png(path(QStringLiteral("pair.png")));
    ASSERT_EQ(png.size(), QSize(2, 1));
    EXPECT_EQ(png.pixel(0, 0), qRgb(200, 0, 0));
    EXPECT_EQ(png.pixel(1, 0), qRgb(0, 200, 0));
}

TEST_F(SkinToolTest, PacksWithTheFormatAndPaletteAsked)
{
    QImage source(5, 2, QImage::Format_RGB32);
    source.fill(qRgb(10, 20, 30));
    source.setPixel(3, 1, qRgb(250, 240, 0));
    ASSERT_TRUE(source.save(path(QStringLiteral("in.png"))));
    const QString out = path(QStringLiteral("out.ubm"));
    const SkinToolRun run = runSkinTool(
        { QStringLiteral("pack"), path(QStringLiteral("in.png")), out, QStringLiteral("--format"), QStringLiteral("2"),
            QStringLiteral("--no-compress"), QStringLiteral("--palette"), QStringLiteral("stored") });
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 26);
    EXPECT_EQ(bytes.first(2), QByteArray::fromHex("fe4d"));
    EXPECT_EQ(int(bytes[6]), 2); // stored format
    EXPECT_EQ(int(bytes[7]), 2); // built format
    EXPECT_EQ(int(bytes[8]), 0); // not compressed, palette stored
    EXPECT_EQ(int(bytes[10]), 2); // two colours
    const DibLoaded loaded = TCompressedDib::fromBytes(bytes);
    ASSERT_EQ(loaded.error, SkinError::None);
    EXPECT_EQ(loaded.dib.image().convertToFormat(QImage::Format_RGB32), source);

    const SkinToolRun info = runSkinTool({ QStringLiteral("info"), out });
    EXPECT_EQ(info.exitCode, 0);
    for (const char *line : { "width: 5", "height: 2", "stored format: 2 (8 bits)", "palette entries: 2", "flags: 0" })
        EXPECT_TRUE(info.out.contains(QLatin1String(line))) << line << "\n" << info.out.toStdString();
}

TEST_F(SkinToolTest, RefusesAWrongCommandLine)
{
    const QString in = write(QStringLiteral("pair.ubm"), kRedGreen);
    const QStringList wrong[] = {
        {},
        { QStringLiteral("unpack"), in },
        { QStringLiteral("pack"), in, path(QStringLiteral("x.ubm")), QStringLiteral("--format"), QStringLiteral("7") },
        { QStringLiteral("pack"), in, path(QStringLiteral("x.ubm")), QStringLiteral("--palette"),
            QStringLiteral("odd") },
        { QStringLiteral("shrink"), in },
    };
    for (const QStringList &arguments : wrong) {
        const SkinToolRun run = runSkinTool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(run.err.contains(QLatin1String("usage:")));
    }
}
