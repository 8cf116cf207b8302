#pragma once

#include <QString>

// Writes the default skin into the program folder: every skin image as a
// compressed bitmap under "skins/default/", the dialling animation beside
// them, and the two sounds under "sounds/default/". Returns an error text,
// empty on success.
[[nodiscard]] QString writeDefaultSkin(const QString &programFolder);
