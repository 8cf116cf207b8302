#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

// A scratch folder for the targets that read files, kept for the whole run;
// in memory where the system has a memory file system, for speed.
class FuzzFolder {
public:
    FuzzFolder()
        : m_dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/tollwise-fuzz-XXXXXX")
                                                          : QDir::tempPath() + QStringLiteral("/tollwise-fuzz-XXXXXX"))
    {
        if (!m_dir.isValid())
            std::abort();
    }

    QString folder() const { return m_dir.path(); }
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString file = path(name);
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            std::abort();
        return file;
    }

    void remove(const QString &name) const { QFile::remove(path(name)); }

private:
    QTemporaryDir m_dir;
};
