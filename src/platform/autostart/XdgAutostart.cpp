#include "platform/autostart/XdgAutostart.h"

#include "core/store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

// Desktop entry values escape backslashes; the Exec key also needs quotes
// around a path with blanks.
QString execValue(const QString &path)
{
    QString quoted = path;
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

XdgAutostart::XdgAutostart(QString autostartFolder)
    : m_folder(std::move(autostartFolder))
{
}

QString XdgAutostart::defaultFolder()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart"));
}

QString XdgAutostart::desktopFilePath() const { return QDir(m_folder).filePath(QStringLiteral("Dialtally.desktop")); }

std::expected<void, std::string> XdgAutostart::apply(bool runAtStartup, const std::string &programPath)
{
    const QString path = desktopFilePath();
    if (!runAtStartup) {
        if (QFile::exists(path) && !QFile::remove(path))
            return std::unexpected(QStringLiteral("cannot remove %1").arg(path).toStdString());
        return {};
    }
    if (!QDir().mkpath(m_folder))
        return std::unexpected(QStringLiteral("cannot create %1").arg(m_folder).toStdString());
    const QString program = QString::fromStdString(programPath);
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Tollwise\n"
                                         "Comment=Costs and logs dial-up calls\n"
                                         "Exec=%1\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execValue(program));
    if (auto written = writeFileAtomically(path, entry.toUtf8()); !written)
        return std::unexpected(written.error().reason.toStdString());
    return {};
}
