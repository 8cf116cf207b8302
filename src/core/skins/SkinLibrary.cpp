#include "skins/SkinLibrary.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

struct SkinState {
    QString folder;
    std::function<void(const QString &, const QString &)> onDamaged;
    QSet<QString> reported;
};

SkinState &state()
{
    static SkinState instance;
    return instance;
}

} // namespace

void SkinLibrary::setProgramFolder(const QString &folder)
{
    state().folder = QDir(folder).filePath(QStringLiteral("skins/default"));
}

QString SkinLibrary::skinFolder()
{
    return state().folder;
}

bool SkinLibrary::LoadSkinImage(QImage &bitmap, const QString &name)
{
    const QString bmp = QDir(state().folder).filePath(name + QStringLiteral(".bmp"));
    if (!QFileInfo::exists(bmp))
        return false;
    QImage image;
    if (!image.load(bmp, "BMP")) {
        if (!state().reported.contains(bmp) && state().onDamaged) {
            state().reported.insert(bmp);
            state().onDamaged(bmp, QStringLiteral("DIB File Format Unrecognized !"));
        }
        return false;
    }
    bitmap = image;
    return true;
}

void SkinLibrary::setDamageHandler(std::function<void(const QString &, const QString &)> handler)
{
    state().onDamaged = std::move(handler);
}
