#pragma once

#include <QString>

#include <expected>

// The file `name` in `folder` as typed, with `suffix` added to a name that
// has none; otherwise, in words, what keeps it from being written there.
[[nodiscard]] std::expected<QString, QString> savePathFor(
    const QString &folder, const QString &name, const QString &suffix);
// A folder a user's file can go to: an existing, writable one that is not
// part of a kernel or device file system (whose files block when read).
[[nodiscard]] bool plainWritableFolder(const QString &folder);
// The user's documents, or else their home.
[[nodiscard]] QString safeStartFolder();
