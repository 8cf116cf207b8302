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

// Cuts a file back to a length it had before (removes it for 0): taking back
// an append needs no free space and cannot leave a mixed file. The only
// change made in place.
[[nodiscard]] std::expected<void, FileError> truncateFile(const QString &path, qint64 size);
