#include "ProgramFolder.h"

#include "DataFileBytes.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <filesystem>

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

ProgramFolder::ProgramFolder()
    : m_folder(workTemplate())
    , m_elsewhere(workTemplate())
{
    if (!m_folder.isValid() || !m_elsewhere.isValid()) {
        m_error = QStringLiteral("cannot make a temporary folder under %1").arg(QStringLiteral(TOLLWISE_E2E_WORK));
        return;
    }
    for (const QString &program : { QStringLiteral("tollwise"), QStringLiteral("tollwise-dial") }) {
        if (!install(QDir(kBuiltProgram).filePath(program), filePath(program)))
            m_error = QStringLiteral("cannot install %1 from %2").arg(program, kBuiltProgram);
    }
    // Read-only material can be shared with the build.
    for (const QString &folder : { QStringLiteral("skins"), QStringLiteral("sounds"), QStringLiteral("help") }) {
        if (!QFile::link(QDir(kBuiltProgram).filePath(folder), filePath(folder)))
            m_error = QStringLiteral("cannot link %1 from %2").arg(folder, kBuiltProgram);
    }
}

QString ProgramFolder::filePath(const QString &name) const { return QDir(m_folder.path()).filePath(name); }

void ProgramFolder::writeFile(const QString &name, const QByteArray &bytes) const
{
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
    process.start(filePath(QStringLiteral("tollwise-dial")), arguments);
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
