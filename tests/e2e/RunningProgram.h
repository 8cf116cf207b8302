#pragma once

#include "Desktop.h"

#include <QProcess>

#include <optional>

class ProgramFolder;

// The program started from a prepared folder, and the user's ways of
// handling its windows. A program still running when this goes is killed.
class RunningProgram {
public:
    RunningProgram(const ProgramFolder &folder, const Desktop &desktop);
    ~RunningProgram();
    RunningProgram(const RunningProgram &) = delete;
    RunningProgram &operator=(const RunningProgram &) = delete;

    // An environment variable for the program's next start (a faked clock).
    void setEnvironment(const QString &name, const QString &value) { m_extraEnvironment.insert(name, value); }
    // Starts the program; false when it could not be started.
    [[nodiscard]] bool start();
    [[nodiscard]] qint64 pid() const { return m_process.processId(); }
    [[nodiscard]] bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // -1 unless the program ended by itself.
    [[nodiscard]] int exitCode() const
    {
        return !isRunning() && m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }

    // The main window, once it shows (the splash stays up about two seconds).
    [[nodiscard]] std::optional<Desktop::Window> mainWindow(int ms = 15000) const;
    // The main window once the splash has gone and the first tick has
    // filled the display; a test failure when either does not happen.
    [[nodiscard]] std::optional<Desktop::Window> readyMainWindow() const;
    [[nodiscard]] std::optional<Desktop::Window> window(QSize size, int ms = 5000) const;
    // Clicks the point of a window given in the window's own pixels.
    void clickAt(const Desktop::Window &window, QPoint point) const;
    void clickIn(const Desktop::Window &window, const QRect &control) const { clickAt(window, control.center()); }

    // Presses the main window's close button; the exit question, once it shows.
    [[nodiscard]] std::optional<Desktop::Window> askToClose() const;
    // Presses Yes on the exit question.
    void clickYes(const Desktop::Window &question) const;
    // Answers Yes to the exit question by its button and waits for the
    // program to end; false when it did not end cleanly.
    [[nodiscard]] bool confirmClose(const Desktop::Window &question);
    // Closes the program the way a user would: close button, then Yes.
    [[nodiscard]] bool closeThroughDialog();

    [[nodiscard]] bool waitForExit(int ms);
    // What the program wrote to its standard output and error streams.
    [[nodiscard]] QString output() const;

private:
    [[nodiscard]] QString logPath() const;

    const ProgramFolder &m_folder;
    const Desktop &m_desktop;
    QProcess m_process;
    QProcessEnvironment m_extraEnvironment;
};
