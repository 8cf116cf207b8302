#include "core/datafolder/ProgramFolders.h"

#include "core/store/DataFiles.h"
#include "core/store/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace {

const QString kFolderName = QStringLiteral("tollwise");

bool holdsDataFiles(const QDir &folder)
{
    for (const QString &name :
        { DataFiles::kProvidersFile, DataFiles::kLogFile, DataFiles::kTariffsFile, SettingsFile::kFileName })
        if (QFileInfo::exists(folder.filePath(name)))
            return true;
    return false;
}

// <prefix>/share/tollwise for an executable in <prefix>/bin.
QString sharedFolderOf(const QDir &programFolder)
{
    return QDir::cleanPath(programFolder.filePath(QStringLiteral("../share/")) + kFolderName);
}

bool isInstallationBin(const QDir &programFolder)
{
    return programFolder.dirName() == QLatin1String("bin") && QFileInfo(sharedFolderOf(programFolder)).isDir();
}

QString dataHome(const FolderEnvironment &environment)
{
    // A relative value is to be ignored, as if unset.
    if (!environment.xdgDataHome.isEmpty() && QDir::isAbsolutePath(environment.xdgDataHome))
        return environment.xdgDataHome;
    return QDir(environment.home).filePath(QStringLiteral(".local/share"));
}

} // namespace

ProgramFolders ProgramFolders::beside(const QString &programPath)
{
    const QString folder = QFileInfo(programPath).absolutePath();
    return { programPath, folder, {}, false };
}

QStringList ProgramFolders::searchPath() const { return QStringList { dataFolder } + sharedFolders; }

QString ProgramFolders::find(const QString &relativePath) const
{
    for (const QString &folder : searchPath()) {
        const QString path = QDir(folder).filePath(relativePath);
        if (QFileInfo::exists(path))
            return path;
    }
    return QDir(dataFolder).filePath(relativePath);
}

QString ProgramFolders::find(const QString &relativePath, const std::function<bool(const QString &)> &usable) const
{
    for (const QString &folder : searchPath()) {
        const QString path = QDir(folder).filePath(relativePath);
        if (QFileInfo::exists(path) && usable(path))
            return path;
    }
    return find(relativePath);
}

FolderEnvironment FolderEnvironment::current() { return { qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath() }; }

bool isSystemFolder(const QString &absolutePath)
{
    const QString path = QDir::cleanPath(absolutePath);
    for (const char *prefix : { "/usr", "/opt", "/bin", "/sbin", "/lib", "/lib64", "/snap" }) {
        const QLatin1String system(prefix);
        if (path == system || path.startsWith(system + QLatin1Char('/')))
            return true;
    }
    return false;
}

ProgramFolders locateProgramFolders(const QString &programPath, const FolderEnvironment &environment)
{
    ProgramFolders folders = ProgramFolders::beside(programPath);
    const QDir programFolder(folders.dataFolder);
    if (holdsDataFiles(programFolder))
        return folders;
    const bool installedThere = isSystemFolder(programFolder.absolutePath()) || isInstallationBin(programFolder);
    if (QFileInfo(programFolder.absolutePath()).isWritable() && !installedThere)
        return folders;
    folders.installed = true;
    folders.dataFolder = QDir::cleanPath(QDir(dataHome(environment)).filePath(kFolderName));
    folders.sharedFolders = { sharedFolderOf(programFolder), programFolder.absolutePath() };
    return folders;
}

ProgramFolders locateProgramFolders(const QString &programPath)
{
    return locateProgramFolders(programPath, FolderEnvironment::current());
}

std::expected<void, QString> makeDataFolder(const ProgramFolders &folders)
{
    const QFileInfo info(folders.dataFolder);
    if (info.isDir())
        return {};
    if (info.exists())
        return std::unexpected(QStringLiteral("%1 is a file, not a folder").arg(folders.dataFolder));
    std::error_code error;
    const std::filesystem::path path = folders.dataFolder.toStdString();
    std::filesystem::create_directories(path, error);
    if (error)
        return std::unexpected(
            QStringLiteral("cannot make %1: %2").arg(folders.dataFolder, QString::fromLocal8Bit(error.message())));
    // Calls and costs are the user's own business.
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, error);
    return {};
}
