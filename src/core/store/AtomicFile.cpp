#include "core/store/AtomicFile.h"

#include <QSaveFile>

std::expected<void, FileError> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a short write shows here: a buffered one that fails in
    // commit() on a full disk is not reported, and the short file replaces the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return std::unexpected(FileError { path, file.errorString() });
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return std::unexpected(FileError { path, reason });
    }
    if (!file.commit())
        return std::unexpected(FileError { path, file.errorString() });
    return {};
}
