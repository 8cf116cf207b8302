#pragma once

#include <QByteArray>
#include <QString>

#include <expected>

struct FileError {
    QString path; // the file that could not be written
    QString reason; // the system's explanation
};

// Writes the whole file through a temporary file in the same folder and a
// rename, so a crash or a full disk leaves either the old or the new file,
// never a short or mixed one. Every file the program writes goes through here.
[[nodiscard]] std::expected<void, FileError> writeFileAtomically(const QString &path, const QByteArray &bytes);
