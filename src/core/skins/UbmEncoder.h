#pragma once

#include "core/skins/DibFormat.h"

#include <QByteArray>
#include <QImage>
#include <QString>

struct UbmOptions {
    DibFormat storedFormat = DibFormat::Bits24;
    DibFormat builtFormat = DibFormat::Bits24;
    bool compress = true;
    // Palette formats: use the format's standard palette instead of storing
    // one made from the image's own colours.
    bool standardPalette = false;
};

struct [[nodiscard]] UbmEncoded {
    QByteArray bytes;
    QString error; // empty on success
};

// Writes `image` as a compressed bitmap file. A stored palette holds the
// image's colours (at most 2, 16 or 255; beyond that the most frequent, the
// rest mapped to the nearest of them).
UbmEncoded encodeUbm(const QImage &image, const UbmOptions &options);
