#include "core/skins/SkinLibrary.h"

#include "core/skins/SkinBytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QByteArray kMarker = bytes({ 0xFE, 0x4D });

// A 1 x 1 24-bit compressed bitmap of one colour.
QByteArray ubmOf(int r, int g, int b)
{
    return ubmHeader(1, 1, 5, 5, 0, 0) + kMarker + bytes({ b, g, r, 0, 0xFF, 0 }) + kMarker;
}

// The same as a Windows bitmap.
QByteArray bmpOf(int r, int g, int b)
{
    QByteArray out = bytes({ 'B', 'M' });
    appendU32(out, 58);
    appendU32(out, 0);
    appendU32(out, 54);
    appendU32(out, 40);
    appendU32(out, 1);
    appendU32(out, 1);
    appendU16(out, 1);
    appendU16(out, 24);
    out += QByteArray(24, '\0');
    return out + bytes({ b, g, r, 0 });
}

class SkinLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_program.isValid());
        QDir(m_program.path()).mkpath(QStringLiteral("skins/default"));
        SkinLibrary::setProgramFolder(m_program.path());
        SkinLibrary::setDamageHandler([this](const QString &file, const QString &message) {
            m_reports.append(QFileInfo(file).fileName() + QStringLiteral(": ") + message);
        });
    }

    void TearDown() override { SkinLibrary::setDamageHandler({}); }

    void write(const QString &name, const QByteArray &content)
    {
        QFile file(QDir(SkinLibrary::skinFolder()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir m_program;
    QStringList m_reports;
};

} // namespace

TEST_F(SkinLibraryTest, FindsImagesByName)
{
    write(QStringLiteral("both.bmp"), bmpOf(1, 2, 3));
    write(QStringLiteral("both.ubm"), ubmOf(4, 5, 6));
    write(QStringLiteral("compressed.ubm"), ubmOf(7, 8, 9));
    write(QStringLiteral("plainInDisguise.ubm"), bmpOf(10, 11, 12));
    write(QStringLiteral("Case.ubm"), ubmOf(13, 14, 15));
    const struct {
        const char *name;
        bool found;
        QRgb colour;
    } cases[] = {
        { "both", true, qRgb(1, 2, 3) }, // .bmp wins
        { "compressed", true, qRgb(7, 8, 9) },
        { "plainInDisguise", true, qRgb(10, 11, 12) }, // "BM" inside a .ubm
        { "Case", true, qRgb(13, 14, 15) },
        { "case", false, qRgb(99, 99, 99) }, // names compare as the file system does
        { "missing", false, qRgb(99, 99, 99) },
    };
    for (const auto &c : cases) {
        QImage bitmap(1, 1, QImage::Format_RGB32);
        bitmap.fill(qRgb(99, 99, 99));
        EXPECT_EQ(SkinLibrary::LoadSkinImage(bitmap, QString::fromLatin1(c.name)), c.found) << c.name;
        EXPECT_EQ(bitmap.pixel(0, 0), c.colour) << c.name;
    }
    EXPECT_TRUE(m_reports.isEmpty());
}

TEST_F(SkinLibraryTest, DamagedFileKeepsThePictureAndIsReportedOnce)
{
    write(QStringLiteral("broken.ubm"), ubmOf(1, 2, 3).chopped(1));
    write(QStringLiteral("junk.bmp"), bytes({ 'B', 'M', 1 }));
    QImage bitmap(2, 2, QImage::Format_RGB32);
    bitmap.fill(qRgb(50, 60, 70));
    for (int i = 0; i < 3; ++i) {
        EXPECT_FALSE(SkinLibrary::LoadSkinImage(bitmap, QStringLiteral("broken")));
        EXPECT_FALSE(SkinLibrary::LoadSkinImage(bitmap, QStringLiteral("junk")));
    }
    EXPECT_EQ(bitmap.size(), QSize(2, 2));
    EXPECT_EQ(bitmap.pixel(1, 1), qRgb(50, 60, 70));
    EXPECT_EQ(m_reports,
        QStringList({ QStringLiteral("broken.ubm: Abnormal CompressedDIB Loading Terminaison !"),
            QStringLiteral("junk.bmp: DIB File Format Unrecognized !") }));
}

TEST_F(SkinLibraryTest, WithoutAProgramFolderNothingIsReadFromTheCurrentDirectory)
{
    write(QStringLiteral("here.ubm"), ubmOf(1, 2, 3));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_program.path()));
    SkinLibrary::setProgramFolder(QString());
    QImage bitmap;
    EXPECT_FALSE(SkinLibrary::LoadSkinImage(bitmap, QStringLiteral("here")));
    EXPECT_TRUE(bitmap.isNull());
    QDir::setCurrent(before);
}

TEST_F(SkinLibraryTest, TheUsersImagesHideTheSharedOnesOneByOne)
{
    QTemporaryDir user;
    ASSERT_TRUE(user.isValid());
    const QDir userSkins(QDir(user.path()).filePath(QStringLiteral("skins/default")));
    ASSERT_TRUE(QDir().mkpath(userSkins.path()));
    auto writeUser = [&userSkins](const QString &name, const QByteArray &content) {
        QFile file(userSkins.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    write(QStringLiteral("main.ubm"), ubmOf(1, 1, 1));
    write(QStringLiteral("dial.bmp"), bmpOf(2, 2, 2));
    write(QStringLiteral("connecting.gif"), "GIF89a");
    writeUser(QStringLiteral("main.ubm"), ubmOf(3, 3, 3));
    // The user's compressed picture still wins over a shared plain one.
    writeUser(QStringLiteral("dial.ubm"), ubmOf(4, 4, 4));
    // A damaged one of the user's is told, and the shared one shown.
    write(QStringLiteral("hang.ubm"), ubmOf(5, 5, 5));
    writeUser(QStringLiteral("hang.bmp"), bytes({ 'B', 'M', 1 }));
    SkinLibrary::setProgramFolders({ user.path(), m_program.path() });

    const std::pair<const char *, QRgb> cases[] = {
        { "main", qRgb(3, 3, 3) },
        { "dial", qRgb(4, 4, 4) },
        { "hang", qRgb(5, 5, 5) },
    };
    for (const auto &[name, colour] : cases) {
        QImage bitmap;
        ASSERT_TRUE(SkinLibrary::LoadSkinImage(bitmap, QString::fromLatin1(name))) << name;
        EXPECT_EQ(bitmap.pixel(0, 0), colour) << name;
    }
    EXPECT_EQ(SkinLibrary::skinFile(QStringLiteral("connecting.gif")),
        QDir(m_program.path()).filePath(QStringLiteral("skins/default/connecting.gif")));
    EXPECT_TRUE(SkinLibrary::skinFile(QStringLiteral("missing.gif")).isEmpty());
    EXPECT_EQ(m_reports, QStringList { QStringLiteral("hang.bmp: DIB File Format Unrecognized !") });
}
