#include "core/skins/SkinLibrary.h"

#include "core/skins/SkinImageCache.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

namespace {

struct SkinState {
    QStringList folders;
    SkinImageCache cache;
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
    setProgramFolders(folder.isEmpty() ? QStringList() : QStringList { folder });
}

void SkinLibrary::setProgramFolders(const QStringList &folders)
{
    state().folders.clear();
    // Never the current directory: without a program folder there is no skin.
    for (const QString &folder : folders)
        if (!folder.isEmpty())
            state().folders.append(QDir(folder).filePath(QStringLiteral("skins/default")));
}

void SkinLibrary::setCacheFolder(const QString &folder) { state().cache = SkinImageCache(folder); }

QString SkinLibrary::skinFolder() { return state().folders.value(0); }

QString SkinLibrary::skinFile(const QString &fileName)
{
    for (const QString &folder : std::as_const(state().folders)) {
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool SkinLibrary::LoadSkinImage(QImage &bitmap, const QString &name)
{
    // A folder's .bmp wins over its .ubm, and the user's folder over the
    // shared one; a damaged file is told and the next folder's image used.
    for (const QString &folder : std::as_const(state().folders)) {
        const QDir dir(folder);
        QString path;
        for (const QString &suffix : { QStringLiteral(".bmp"), QStringLiteral(".ubm") })
            if (path.isEmpty() && QFileInfo::exists(dir.filePath(name + suffix)))
                path = dir.filePath(name + suffix);
        if (path.isEmpty())
            continue;
        // Either file may hold either kind of bitmap; the first bytes decide.
        SkinImageLoaded loaded = state().cache.load(path);
        if (loaded.error == SkinError::None) {
            bitmap = std::move(loaded.image);
            return true;
        }
        if (!state().reported.contains(path) && state().onDamaged) {
            state().reported.insert(path);
            state().onDamaged(path, skinErrorText(loaded.error));
        }
    }
    return false;
}

void SkinLibrary::setDamageHandler(std::function<void(const QString &, const QString &)> handler)
{
    state().onDamaged = std::move(handler);
}
