#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

// The skin images: files in "skins/default/" of the program's folders, each a
// Windows bitmap (.bmp, preferred) or a compressed bitmap (.ubm).
class SkinLibrary {
public:
    // Set once at start-up to the folder that holds the program file.
    static void setProgramFolder(const QString &folder);
    // Or to several, the user's own first: an image found in an earlier one
    // hides the same image in a later one.
    static void setProgramFolders(const QStringList &folders);
    // The first folder's skin folder.
    static QString skinFolder();
    // The path of a skin file in the first folder that has it; empty when none has.
    static QString skinFile(const QString &fileName);

    // Where decoded images are kept between runs (see SkinImageCache); none
    // by default, so that only the program itself fills the user's cache.
    static void setCacheFolder(const QString &folder);

    // Loads the image of that name into `bitmap`: "name.bmp" when it exists,
    // else "name.ubm", from the first folder whose file is sound. False when
    // no folder has a sound one, and `bitmap` is then left as it was, so the
    // control keeps its own picture.
    static bool LoadSkinImage(QImage &bitmap, const QString &name);

    // Receives the error text of a damaged skin file, once per file for the
    // life of the process, however often the image is asked for.
    static void setDamageHandler(std::function<void(const QString &fileName, const QString &message)> handler);
};
