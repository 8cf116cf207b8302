#include "RunningProgram.h"

#include "ChildProcess.h"
#include "ProgramFolder.h"
#include "core/skins/SkinLayout.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

RunningProgram::RunningProgram(const ProgramFolder &folder, const Desktop &desktop)
    : m_folder(folder)
    , m_desktop(desktop)
{
}

RunningProgram::~RunningProgram()
{
    if (!isRunning())
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool RunningProgram::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // Nothing of the user running the tests (autostart entries, caches) is touched.
    environment.insert(QStringLiteral("HOME"), m_folder.elsewhere());
    // The folders under that home, whatever the user's are.
    for (const char *name : { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME" })
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_folder.elsewhere());
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_folder.systemBus());
    // Nor the desktop's session: no notification or tray of the user's, unless a case gives a bus of its own.
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
        QStringLiteral("unix:path=") + QDir(m_folder.elsewhere()).filePath(QStringLiteral("no-session-bus")));
    environment.insert(m_extraEnvironment);
    m_process.setProcessEnvironment(environment);
    // The program must find its files beside itself, never in the current folder.
    m_process.setWorkingDirectory(m_folder.elsewhere());
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardOutputFile(logPath());
    endWithTestRun(m_process);
    m_process.start(m_folder.programPath(), {});
    return m_process.waitForStarted(10000);
}

std::optional<Desktop::Window> RunningProgram::mainWindow(int ms) const
{
    return window(SkinLayout::MainWindow::kSize, ms);
}

std::optional<Desktop::Window> RunningProgram::readyMainWindow() const
{
    const std::optional<Desktop::Window> main = mainWindow();
    if (!main) {
        ADD_FAILURE() << "no main window";
        return std::nullopt;
    }
    // The main window shows while the splash, on top, still keeps its two seconds.
    EXPECT_TRUE(m_desktop.waitUntilGone(pid(), SkinLayout::Splash::kSize, 10000)) << "the splash stays";
    // Give the first tick time to fill the display before anyone looks.
    QThread::msleep(1200);
    return main;
}

std::optional<Desktop::Window> RunningProgram::window(QSize size, int ms) const
{
    return m_desktop.waitForWindow(pid(), size, ms);
}

void RunningProgram::clickAt(const Desktop::Window &window, QPoint point) const
{
    m_desktop.click(window.geometry.topLeft() + point);
}

std::optional<Desktop::Window> RunningProgram::askToClose() const
{
    const std::optional<Desktop::Window> main = mainWindow(5000);
    if (!main)
        return std::nullopt;
    clickIn(*main, SkinLayout::MainWindow::ButtonClose);
    return window(SkinLayout::MessageDialog::kSize);
}

void RunningProgram::clickYes(const Desktop::Window &question) const
{
    // Yes is the first button of the set {Yes, No}.
    const QRect yes(QPoint(SkinLayout::MessageDialog::kButtonLeft, SkinLayout::MessageDialog::kFirstButtonTop),
        SkinLayout::MessageDialog::kButtonSize);
    clickIn(question, yes);
}

bool RunningProgram::confirmClose(const Desktop::Window &question)
{
    clickYes(question);
    if (!waitForExit(15000)) {
        ADD_FAILURE() << "the program did not end after Yes";
        return false;
    }
    EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit) << "the program crashed on the way out";
    EXPECT_EQ(m_process.exitCode(), 0);
    return m_process.exitStatus() == QProcess::NormalExit && m_process.exitCode() == 0;
}

bool RunningProgram::closeThroughDialog()
{
    const std::optional<Desktop::Window> question = askToClose();
    if (!question) {
        ADD_FAILURE() << "the close button asked nothing";
        return false;
    }
    return confirmClose(*question);
}

bool RunningProgram::waitForExit(int ms) { return !isRunning() || m_process.waitForFinished(ms); }

QString RunningProgram::logPath() const
{
    return QDir(m_folder.elsewhere()).filePath(QStringLiteral("program-output.txt"));
}

QString RunningProgram::output() const
{
    QFile log(logPath());
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}
