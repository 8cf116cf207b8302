#include "tools/skingen/DefaultSkin.h"
#include "tools/SkinTool.h"

#include "core/skins/SkinImages.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/TCompressedDib.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace L = SkinLayout;

bool isKey(QRgb colour) { return (colour & 0xFFFFFFu) == (L::kKey & 0xFFFFFFu); }

int keyPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += isKey(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// The default skin is drawn once, into a folder of its own.
class DefaultSkinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_program = new QTemporaryDir;
        s_error = new QString(writeDefaultSkin(s_program->path()));
    }

    static void TearDownTestSuite()
    {
        delete s_program;
        delete s_error;
    }

    static QString skinPath(const QString &file)
    {
        return QDir(s_program->path()).filePath(QStringLiteral("skins/default/") + file);
    }

    static QImage image(const char *name)
    {
        const DibLoaded loaded = TCompressedDib::fromFile(skinPath(QString::fromLatin1(name) + QStringLiteral(".ubm")));
        EXPECT_EQ(loaded.error, SkinError::None) << name;
        return loaded.dib.image().convertToFormat(QImage::Format_RGB32);
    }

    static inline QTemporaryDir *s_program = nullptr;
    static inline QString *s_error = nullptr;
};

} // namespace

TEST_F(DefaultSkinTest, EveryImageIsACompressedBitmapOfItsLayoutSize)
{
    ASSERT_TRUE(s_error->isEmpty()) << s_error->toStdString();
    for (const SkinImageUse &use : SkinImages::allImages()) {
        QFile file(skinPath(QString::fromLatin1(use.image) + QStringLiteral(".ubm")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << use.image;
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.first(2), QByteArray::fromHex("fe4d")) << use.image;
        EXPECT_EQ(int(bytes[8]) & 8, 8) << use.image << " is compressed";
        const DibLoaded loaded = TCompressedDib::fromBytes(bytes);
        ASSERT_EQ(loaded.error, SkinError::None) << use.image;
        EXPECT_EQ(loaded.dib.image().size(), use.size) << use.image;
    }
    EXPECT_EQ(image("CallLog").size(), QSize(492, 272));
    EXPECT_EQ(image("Tariff").size(), QSize(800, 520));
}

TEST_F(DefaultSkinTest, OutlinesAreCutWithTheKeyAndControlsStayInside)
{
    const struct {
        const char *name;
        std::vector<QRect> solid; // must hold no key pixel
        std::vector<QPoint> cut; // must be key
    } windows[] = {
        { "main",
            { L::MainWindow::DisplayPanel, L::MainWindow::ButtonDial, L::MainWindow::TodatePanel,
                QRect(0, L::MainWindow::kSize.height() - 1, L::MainWindow::kSize.width(),
                    1) }, // square bottom: the log docks
            { { 0, 0 }, { 491, 0 } } },
        { "Handle", { QRect(0, 0, 492, 6) }, { { 0, 11 }, { 491, 11 } } },
        { "EditLog", { L::EditCallDialog::StartTimePanel, L::EditCallDialog::ButtonClose },
            { { 0, 0 }, { 359, 303 } } },
        { "Settings", { L::SettingsDialog::SwitchDefaultCurrency, L::SettingsDialog::ButtonClose },
            { { 0, 0 }, { 419, 0 } } },
        { "Provider", { L::ProviderDialog::Heading, L::ProviderDialog::ButtonClose },
            { { 0, L::ProviderDialog::kSize.height() - 1 } } },
        { "connection", { L::ConnectDialog::ListBox1, L::ConnectDialog::GTabButton1 }, { { 363, 215 } } },
        { "Tariff", { L::TariffEditor::Grid, L::TariffEditor::kNoDragCorner.adjusted(6, 6, 0, 0) },
            { { 0, 0 }, { 799, 519 } } },
    };
    for (const auto &w : windows) {
        const QImage picture = image(w.name);
        for (const QRect &area : w.solid)
            EXPECT_EQ(keyPixels(picture, area), 0) << w.name;
        for (const QPoint &at : w.cut)
            EXPECT_TRUE(isKey(picture.pixel(at))) << w.name << " at " << at.x() << "," << at.y();
    }
    // The call log is composed from pieces and has no outline of its own.
    const QImage log = image("CallLog");
    EXPECT_EQ(keyPixels(log, log.rect()), 0);
}

TEST_F(DefaultSkinTest, MessageDialogsLeaveRoomForTheTextAndTheButtons)
{
    namespace M = L::MessageDialog;
    const QRect column(M::kButtonLeft, M::kFirstButtonTop, M::kButtonSize.width(),
        (M::kButtonsThatFit - 1) * M::kButtonStep + M::kButtonSize.height());
    for (const SkinImageUse &kind : SkinImages::kMessageKinds) {
        const QImage picture = image(kind.image);
        EXPECT_EQ(keyPixels(picture, M::MessageText), 0) << kind.image;
        EXPECT_EQ(keyPixels(picture, column), 0) << kind.image;
        EXPECT_TRUE(isKey(picture.pixel(0, 0))) << kind.image;
    }
    EXPECT_NE(image("Warning"), image("Error"));
}

TEST_F(DefaultSkinTest, ButtonsShowThreeDistinctStates)
{
    QList<const SkinImageUse *> buttons;
    for (const SkinImageUse &use : SkinImages::kMainWindow)
        if (use.slot == SkinSlot::Up)
            buttons.append(&use);
    for (const SkinImageUse &use : SkinImages::kCallLog)
        if (use.slot == SkinSlot::Up)
            buttons.append(&use);
    EXPECT_EQ(buttons.size(), 15);
    for (const SkinImageUse *up : buttons) {
        QString prefix = QString::fromLatin1(up->image);
        prefix.chop(3); // "_up"
        const QImage upImage = image(up->image);
        const QImage hot = image((prefix + QStringLiteral("_hot")).toLatin1().constData());
        const QImage down = image((prefix + QStringLiteral("_down")).toLatin1().constData());
        EXPECT_NE(upImage, hot) << up->image;
        EXPECT_NE(upImage, down) << up->image;
        EXPECT_NE(hot, down) << up->image;
        for (const QImage *state : { &upImage, &hot, &down })
            EXPECT_LT(keyPixels(*state, state->rect()), state->width() * state->height()) << up->image;
    }
    EXPECT_NE(image("dial_hangup"), image("dial_up"));
}

TEST_F(DefaultSkinTest, AnimationAndSoundsAreWritten)
{
    QImageReader animation(skinPath(QString::fromLatin1(SkinImages::kConnectingAnimation)));
    EXPECT_EQ(animation.size(), L::ConnectDialog::GIFAnimation.size());
    EXPECT_GT(animation.imageCount(), 1);
    for (const char *name : { "connected.wav", "welcome.wav" }) {
        QFile file(QDir(s_program->path()).filePath(QStringLiteral("sounds/default/") + QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray wave = file.readAll();
        EXPECT_TRUE(wave.startsWith("RIFF")) << name;
        EXPECT_EQ(wave.mid(8, 8), QByteArray("WAVEfmt ")) << name;
        EXPECT_GT(wave.size(), 44 + 22050 / 5) << name; // more than a fifth of a second
        EXPECT_NE(wave.mid(44, 2000).count('\0'), 2000) << name;
    }
}

TEST_F(DefaultSkinTest, SkinToolUnpacksEveryImageAndPacksItBack)
{
    const QString png = QDir(s_program->path()).filePath(QStringLiteral("round.png"));
    const QString packed = QDir(s_program->path()).filePath(QStringLiteral("round.ubm"));
    for (const SkinImageUse &use : SkinImages::allImages()) {
        const QString original = skinPath(QString::fromLatin1(use.image) + QStringLiteral(".ubm"));
        ASSERT_EQ(runSkinTool({ QStringLiteral("unpack"), original, png }).exitCode, 0) << use.image;
        EXPECT_EQ(QImage(png).convertToFormat(QImage::Format_RGB32), image(use.image)) << use.image;
        // Packing is slower to run for every image; a few of each kind will do.
        const QLatin1String name(use.image);
        if (name != QLatin1String("main") && name != QLatin1String("CallLog") && name != QLatin1String("dial_hot"))
            continue;
        ASSERT_EQ(runSkinTool({ QStringLiteral("pack"), png, packed }).exitCode, 0) << use.image;
        const DibLoaded after = TCompressedDib::fromFile(packed);
        ASSERT_EQ(after.error, SkinError::None) << use.image;
        EXPECT_EQ(after.dib.image().convertToFormat(QImage::Format_RGB32), image(use.image)) << use.image;
    }
}
