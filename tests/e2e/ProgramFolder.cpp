#include "ProgramFolder.h"

#include "DataFileBytes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

const QString kBuiltProgram = QStringLiteral(TOLLWISE_PROGRAM_DIR);

QString workTemplate()
{
    const QString work = QStringLiteral(TOLLWISE_E2E_WORK);
    QDir().mkpath(work);
    return QDir(work).filePath(QStringLiteral("case-XXXXXX"));
}

// The program finds its files through its own resolved path, so the
// executable must really be in the folder: a hard link where the file system
// allows it, a copy otherwise.
bool install(const QString &from, const QString &to)
{
    std::error_code error;
    std::filesystem::create_hard_link(from.toStdString(), to.toStdString(), error);
    return !error || QFile::copy(from, to);
}

} // namespace

ProgramFolder::ProgramFolder(Layout layout)
    : m_folder(workTemplate())
    , m_layout(layout)
    , m_elsewhere(workTemplate())
{
    if (!m_folder.isValid() || !m_elsewhere.isValid()) {
        m_error = QStringLiteral("cannot make a temporary folder under %1").arg(QStringLiteral(TOLLWISE_E2E_WORK));
        return;
    }
    const QDir root(m_folder.path());
    const bool installed = layout == Layout::Installed;
    m_programs = installed ? root.filePath(QStringLiteral("bin")) : root.path();
    m_shared = installed ? root.filePath(QStringLiteral("share/tollwise")) : root.path();
    // The program's choice with the home it is given and no XDG_DATA_HOME.
    m_data = installed ? QDir(elsewhere()).filePath(QStringLiteral(".local/share/tollwise")) : root.path();
    if (!QDir().mkpath(m_programs) || !QDir().mkpath(m_shared) || !QDir().mkpath(m_data)) {
        m_error = QStringLiteral("cannot make the folders under %1").arg(root.path());
        return;
    }
    (void)installPrograms(false);
}

ProgramFolder::~ProgramFolder()
{
    if (m_mounted)
        ::umount2(m_folder.path().toLocal8Bit().constData(), MNT_DETACH);
}

bool ProgramFolder::installPrograms(bool copy)
{
    for (const QString &program : { QStringLiteral("tollwise"), QStringLiteral("tollwise-dial") }) {
        const QString from = QDir(kBuiltProgram).filePath(program);
        const QString to = QDir(m_programs).filePath(program);
        if (!(copy ? QFile::copy(from, to) : install(from, to)))
            m_error = QStringLiteral("cannot install %1 from %2").arg(program, kBuiltProgram);
    }
    // Read-only material can be shared with the build, but an installation's
    // own copies may be changed by a case.
    for (const QString &folder : { QStringLiteral("skins"), QStringLiteral("sounds"), QStringLiteral("help") }) {
        const std::filesystem::path from = QDir(kBuiltProgram).filePath(folder).toStdString();
        const std::filesystem::path to = sharedFilePath(folder).toStdString();
        std::error_code error;
        if (m_layout == Layout::Installed && folder != QLatin1String("help"))
            std::filesystem::copy(from, to, std::filesystem::copy_options::recursive, error);
        else
            std::filesystem::create_directory_symlink(from, to, error);
        if (error)
            m_error = QStringLiteral("cannot install %1 from %2").arg(folder, kBuiltProgram);
    }
    return m_error.isEmpty();
}

QString ProgramFolder::moveToSmallDisk(qint64 freeBytes)
{
    if (::geteuid() != 0)
        return QStringLiteral("mounting a file system needs root");
    qint64 programs = 0;
    for (const QString &program : { QStringLiteral("tollwise"), QStringLiteral("tollwise-dial") })
        programs += QFileInfo(QDir(kBuiltProgram).filePath(program)).size();
    const QByteArray options = "size=" + QByteArray::number(programs + freeBytes + 64 * 1024);
    if (::mount("tmpfs", m_folder.path().toLocal8Bit().constData(), "tmpfs", 0, options.constData()) != 0)
        return QStringLiteral("no file system can be mounted here: %1")
            .arg(QString::fromLocal8Bit(std::strerror(errno)));
    m_mounted = true;
    return installPrograms(true) ? QString() : m_error;
}

bool ProgramFolder::leaveFree(qint64 freeBytes) const
{
    const QString filler = filePath(QStringLiteral("filler"));
    QFile::remove(filler);
    if (freeBytes == 0)
        return true;
    struct statvfs disk { };
    if (::statvfs(m_folder.path().toLocal8Bit().constData(), &disk) != 0)
        return false;
    const qint64 available = qint64(disk.f_bavail) * qint64(disk.f_frsize);
    if (available < freeBytes)
        return false;
    QFile file(filler);
    return file.open(QIODevice::WriteOnly)
        && file.write(QByteArray(available - freeBytes, 'f')) == available - freeBytes;
}

QString ProgramFolder::filePath(const QString &name) const { return QDir(m_data).filePath(name); }

QString ProgramFolder::programPath() const { return QDir(m_programs).filePath(QStringLiteral("tollwise")); }

QString ProgramFolder::sharedFilePath(const QString &name) const { return QDir(m_shared).filePath(name); }

void ProgramFolder::writeFile(const QString &name, const QByteArray &bytes) const
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(filePath(name)).path())) << name.toStdString();
    QFile file(filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << name.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size()) << name.toStdString();
}

QByteArray ProgramFolder::readFile(const QString &name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool ProgramFolder::exists(const QString &name) const { return QFile::exists(filePath(name)); }

QString ProgramFolder::systemBus() const
{
    return m_systemBus.isEmpty() ? QStringLiteral("unix:path=") + QDir(elsewhere()).filePath(QStringLiteral("no-bus"))
                                 : m_systemBus;
}

ProgramFolder::DialResult ProgramFolder::dial(const QStringList &arguments, int ms) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), systemBus());
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(elsewhere());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QDir(m_programs).filePath(QStringLiteral("tollwise-dial")), arguments);
    DialResult result;
    if (!process.waitForFinished(ms)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("(did not finish) ");
    }
    result.output += QString::fromLocal8Bit(process.readAll());
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

int ProgramFolder::loggedCalls() const
{
    return DataFileBytes::settingsValue(
        readFile(QStringLiteral("settings.data")), QStringLiteral("Log.NumberOfRecords"))
        .value_or(QStringLiteral("-1"))
        .toInt();
}

bool ProgramFolder::waitForLoggedCalls(int calls, int ms) const
{
    const QDeadlineTimer deadline(ms);
    while (loggedCalls() != calls) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    return true;
}
