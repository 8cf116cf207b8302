#include "tools/skingen/DefaultSkin.h"

#include "tools/skingen/SkinMedia.h"
#include "tools/skingen/SkinPictures.h"

#include "core/skins/SkinImages.h"
#include "core/skins/UbmEncoder.h"
#include "core/store/AtomicFile.h"

#include <QDir>

namespace {

QString write(const QString &path, const QByteArray &bytes)
{
    const auto written = writeFileAtomically(path, bytes);
    return written ? QString() : written.error().path + QStringLiteral(": ") + written.error().reason;
}

} // namespace

QString writeDefaultSkin(const QString &programFolder)
{
    const QDir program(programFolder);
    const QString skins = QStringLiteral("skins/default");
    const QString sounds = QStringLiteral("sounds/default");
    if (!program.mkpath(skins) || !program.mkpath(sounds))
        return QStringLiteral("cannot make the skin and sound folders in ") + programFolder;

    const SkinArt::SkinSet skin = SkinPictures::drawDefaultSkin();
    for (const SkinImageUse &use : SkinImages::allImages()) {
        const QString name = QString::fromLatin1(use.image);
        const QImage image = skin.value(name);
        if (image.size() != use.size)
            return QStringLiteral("the default skin draws \"%1\" at %2 x %3, not %4 x %5")
                .arg(name)
                .arg(image.width())
                .arg(image.height())
                .arg(use.size.width())
                .arg(use.size.height());
        const UbmEncoded encoded = encodeUbm(image, { DibFormat::Bits24, DibFormat::Bits24, true, false });
        if (!encoded.error.isEmpty())
            return name + QStringLiteral(": ") + encoded.error;
        if (const QString error
            = write(program.filePath(skins + QLatin1Char('/') + name + QStringLiteral(".ubm")), encoded.bytes);
            !error.isEmpty())
            return error;
    }
    const struct {
        QString path;
        QByteArray bytes;
    } media[] = {
        { skins + QLatin1Char('/') + QLatin1String(SkinImages::kConnectingAnimation),
            SkinMedia::connectingAnimation() },
        { sounds + QStringLiteral("/connected.wav"), SkinMedia::connectedSound() },
        { sounds + QStringLiteral("/welcome.wav"), SkinMedia::welcomeSound() },
        { sounds + QStringLiteral("/warning.wav"), SkinMedia::warningSound() },
    };
    for (const auto &m : media)
        if (const QString error = write(program.filePath(m.path), m.bytes); !error.isEmpty())
            return error;
    return {};
}
