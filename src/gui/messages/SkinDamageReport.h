#pragma once

#include <QString>

// The message for a skin image that could not be read: the reader's own
// words, which file it was, and that the program goes on without it.
[[nodiscard]] QString damagedSkinText(const QString &path, const QString &readerText);

// From now on each damaged skin image is reported to the user once, as an
// error message with an Okay button.
void reportDamagedSkinImages();
