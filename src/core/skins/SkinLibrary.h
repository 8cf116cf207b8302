#pragma once

#include <QImage>
#include <QString>

#include <functional>

// The skin images: files in "skins/default/" beside the program, each a
// Windows bitmap (.bmp, preferred) or a compressed bitmap (.ubm).
class SkinLibrary {
public:
    // Set once at start-up to the folder that holds the program file.
    static void setProgramFolder(const QString &folder);
    static QString skinFolder();

    // Loads the image of that name into `bitmap`: "name.bmp" when it exists,
    // else "name.ubm". False when neither exists or the file is damaged, and
    // `bitmap` is then left as it was, so the control keeps its own picture.
    static bool LoadSkinImage(QImage &bitmap, const QString &name);

    // Receives the error text of a damaged skin file, once per file for the
    // life of the process, however often the image is asked for.
    static void setDamageHandler(std::function<void(const QString &fileName, const QString &message)> handler);
};
