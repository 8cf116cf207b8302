#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The user at the virtual display: finds a program's windows, clicks, types
// and takes pictures, through xdotool as a real user's input would arrive.
class Desktop {
public:
    struct Window {
        quint64 id = 0;
        QRect geometry; // on the screen; windows have no frames
    };

    // On the display named by DISPLAY.
    Desktop();

    // The visible top-level windows of the process.
    [[nodiscard]] QList<Window> windowsOf(qint64 pid) const;
    // The process's visible window of that size, once it shows (within `ms`).
    [[nodiscard]] std::optional<Window> waitForWindow(qint64 pid, QSize size, int ms) const;
    // Whether no visible window of that size is left within `ms`.
    [[nodiscard]] bool waitUntilGone(qint64 pid, QSize size, int ms) const;
    // A visible window of the process that is not among `known`, once it shows.
    [[nodiscard]] std::optional<Window> waitForNewWindow(qint64 pid, const QList<Window> &known, int ms) const;
    // Whether the process shows no window at all within `ms`.
    [[nodiscard]] bool waitUntilNoneShown(qint64 pid, int ms) const;
    // The process's windows the window manager keeps minimised (iconic).
    [[nodiscard]] QList<quint64> minimisedWindowsOf(qint64 pid) const;
    // Whether the window is no longer shown within `ms`.
    [[nodiscard]] bool waitUntilClosed(qint64 pid, const Window &window, int ms) const;

    // The window that has the keyboard focus now (0 when none), and a window's title.
    [[nodiscard]] quint64 activeWindow() const;
    [[nodiscard]] QString windowName(quint64 id) const;
    // Asks the window manager to bring the window forward (and back from the task bar).
    void activate(const Window &window) const;

    void click(QPoint screenPoint) const;
    // Gives the window the keyboard focus, then presses the key (an xdotool key name).
    void pressKey(const Window &window, const QString &key) const;
    // Gives the window the keyboard focus, then types the text.
    void typeText(const Window &window, const QString &text) const;
    // Saves a picture of the window under `name`.png in the artefact folder.
    void saveScreenshot(const Window &window, const QString &name) const;

private:
    [[nodiscard]] std::optional<Window> waitFor(
        qint64 pid, const std::function<bool(const Window &)> &wanted, int ms) const;
    [[nodiscard]] bool waitUntilNone(qint64 pid, const std::function<bool(const Window &)> &unwanted, int ms) const;
    [[nodiscard]] QString xdotool(const QStringList &arguments) const;

    QString m_display;
};
