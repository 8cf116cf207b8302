#include "store/AtomicFile.h"

#include <QSaveFile>

std::expected<void, FileError> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return std::unexpected(FileError{path, file.errorString()});
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return std::unexpected(FileError{path, reason});
    }
    if (!file.commit())
        return std::unexpected(FileError{path, file.errorString()});
    return {};
}
