#include "core/store/AtomicFile.h"

#include <QFile>
#include <QSaveFile>

std::expected<void, FileError> writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    // Unbuffered, so a short write shows here: a buffered one that fails in
    // commit() on a full disk is not reported, and the short file replaces the old.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return std::unexpected(FileError { path, file.errorString() });
    // A disk that fills takes part of a write without an error; the next
    // write says why it takes no more ("No space left on device").
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 step = file.write(bytes.constData() + written, bytes.size() - written);
        if (step <= 0) {
            const QString reason = file.error() != QFileDevice::NoError
                ? file.errorString()
                : QStringLiteral("only %1 of %2 bytes could be written").arg(written).arg(bytes.size());
            file.cancelWriting();
            return std::unexpected(FileError { path, reason });
        }
        written += step;
    }
    if (!file.commit())
        return std::unexpected(FileError { path, file.errorString() });
    return {};
}

std::expected<void, FileError> truncateFile(const QString &path, qint64 size)
{
    QFile file(path);
    if (size == 0) {
        if (!file.exists() || file.remove())
            return {};
        return std::unexpected(FileError { path, file.errorString() });
    }
    if (!file.resize(size))
        return std::unexpected(FileError { path, file.errorString() });
    return {};
}
