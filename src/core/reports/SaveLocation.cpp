#include "core/reports/SaveLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace {

QString expandedHome(const QString &folder)
{
    if (folder == QLatin1String("~"))
        return QDir::homePath();
    if (folder.startsWith(QLatin1String("~/")))
        return QDir::homePath() + folder.mid(1);
    return folder;
}

} // namespace

std::expected<QString, QString> savePathFor(const QString &folder, const QString &name, const QString &suffix)
{
    const QString where = QDir::fromNativeSeparators(expandedHome(folder.trimmed()));
    const QString file = name.trimmed();
    if (where.isEmpty())
        return std::unexpected(QStringLiteral("Enter the folder to save the file in."));
    if (QDir::isRelativePath(where))
        return std::unexpected(
            QStringLiteral("Enter the folder's whole path, as %1.").arg(QDir::toNativeSeparators(QDir::homePath())));
    if (!QFileInfo(where).isDir())
        return std::unexpected(QStringLiteral("There is no folder %1.").arg(QDir::toNativeSeparators(where)));
    if (!plainWritableFolder(where))
        return std::unexpected(QStringLiteral("Files cannot be saved in %1.").arg(QDir::toNativeSeparators(where)));
    if (file.isEmpty())
        return std::unexpected(QStringLiteral("Enter a name for the file."));
    if (file.contains(QLatin1Char('/')) || file.contains(QDir::separator()) || file == QLatin1String(".")
        || file == QLatin1String(".."))
        return std::unexpected(QStringLiteral("Enter the file's name alone; the folder goes above it."));
    const QString named = QFileInfo(file).suffix().isEmpty() && !suffix.isEmpty() ? file + u'.' + suffix : file;
    const QString path = QDir::cleanPath(QDir(where).filePath(named));
    if (QFileInfo(path).isDir())
        return std::unexpected(QStringLiteral("%1 is a folder.").arg(QDir::toNativeSeparators(path)));
    return path;
}

bool plainWritableFolder(const QString &folder)
{
    static const QStringList kSpecial = { QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"), QStringLiteral("debugfs"), QStringLiteral("tracefs"), QStringLiteral("securityfs"),
        QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("pstore"), QStringLiteral("configfs"),
        QStringLiteral("efivarfs"), QStringLiteral("bpf"), QStringLiteral("mqueue"), QStringLiteral("fusectl"),
        QStringLiteral("binfmt_misc"), QStringLiteral("hugetlbfs") };
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isWritable())
        return false;
    const QString canonical = info.canonicalFilePath();
    for (const char *top : { "/proc", "/sys", "/dev" })
        if (canonical == QLatin1String(top) || canonical.startsWith(QLatin1String(top) + QLatin1Char('/')))
            return false;
    return !kSpecial.contains(QString::fromLatin1(QStorageInfo(canonical).fileSystemType()));
}

QString safeStartFolder()
{
    for (const auto location : { QStandardPaths::DocumentsLocation, QStandardPaths::HomeLocation })
        if (const QString folder = QStandardPaths::writableLocation(location); plainWritableFolder(folder))
            return folder;
    return QDir::homePath();
}
