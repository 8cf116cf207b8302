#pragma once

#include "core/skins/SkinError.h"

#include <QImage>
#include <QString>

#include <optional>

class QFileInfo;

struct [[nodiscard]] SkinImageLoaded {
    QImage image;
    SkinError error = SkinError::None;
};

// Decoded skin images kept on disk, so that a start reads pixels instead of
// decoding every compressed bitmap again. An entry belongs to one skin file
// and holds that file's path, size and modification time; an entry that does
// not match them, or is damaged in any way, is ignored and written again.
// Skin files themselves are only ever read.
class SkinImageCache {
public:
    // No folder: every load decodes and nothing is kept.
    explicit SkinImageCache(QString folder = {});

    // $XDG_CACHE_HOME/tollwise, else ~/.cache/tollwise.
    static QString defaultFolder();

    [[nodiscard]] const QString &folder() const { return m_folder; }

    // The image of a skin file: from its entry when that is sound and
    // current, else decoded from the file (and its entry written).
    [[nodiscard]] SkinImageLoaded load(const QString &path) const;

    // The entry of a skin file, when there is a sound and current one.
    [[nodiscard]] std::optional<QImage> find(const QFileInfo &source) const;
    // Writes the entry atomically; a cache that cannot be written is only slower.
    void store(const QFileInfo &source, const QImage &image) const;

    [[nodiscard]] QString entryPath(const QFileInfo &source) const;

private:
    QString m_folder;
};
