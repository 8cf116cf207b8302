#include "core/skins/SkinLibrary.h"

#include "core/skins/TCompressedDib.h"

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
    state().folder = folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("skins/default"));
}

QString SkinLibrary::skinFolder() { return state().folder; }

bool SkinLibrary::LoadSkinImage(QImage &bitmap, const QString &name)
{
    // Never the current directory: without a program folder there is no skin.
    if (state().folder.isEmpty())
        return false;
    const QDir folder(state().folder);
    QString path = folder.filePath(name + QStringLiteral(".bmp"));
    if (!QFileInfo::exists(path)) {
        path = folder.filePath(name + QStringLiteral(".ubm"));
        if (!QFileInfo::exists(path))
            return false;
    }
    // Either file may hold either kind of bitmap; the first bytes decide.
    const DibLoaded loaded = TCompressedDib::fromFile(path);
    if (loaded.error != SkinError::None) {
        if (!state().reported.contains(path) && state().onDamaged) {
            state().reported.insert(path);
            state().onDamaged(path, skinErrorText(loaded.error));
        }
        return false;
    }
    bitmap = loaded.dib.image();
    return true;
}

void SkinLibrary::setDamageHandler(std::function<void(const QString &, const QString &)> handler)
{
    state().onDamaged = std::move(handler);
}
