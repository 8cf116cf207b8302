#include "Desktop.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kPollMs = 100;

} // namespace

Desktop::Desktop()
    : m_display(qEnvironmentVariable("DISPLAY"))
{
}

QString Desktop::xdotool(const QStringList &arguments) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "xdotool " << arguments.join(u' ').toStdString() << " did not finish";
        return {};
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QList<Desktop::Window> Desktop::windowsOf(qint64 pid) const
{
    QList<Window> windows;
    // No match is an exit status of 1 and no output, which is the empty list.
    const QStringList ids = xdotool(
        { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid) })
                                .split(u'\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        Window window;
        window.id = id.toULongLong();
        int x = 0, y = 0, width = 0, height = 0;
        const QStringList lines = xdotool({ QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), id })
                                      .split(u'\n', Qt::SkipEmptyParts);
        for (const QString &line : lines) {
            const QString value = line.section(u'=', 1);
            if (line.startsWith(QLatin1String("X=")))
                x = value.toInt();
            else if (line.startsWith(QLatin1String("Y=")))
                y = value.toInt();
            else if (line.startsWith(QLatin1String("WIDTH=")))
                width = value.toInt();
            else if (line.startsWith(QLatin1String("HEIGHT=")))
                height = value.toInt();
        }
        // A window that closed between the two questions has no size.
        if (width > 0 && height > 0) {
            window.geometry = QRect(x, y, width, height);
            windows.append(window);
        }
    }
    return windows;
}

QList<quint64> Desktop::minimisedWindowsOf(qint64 pid) const
{
    QList<quint64> minimised;
    // Unmapped windows too: a minimised window is not viewable.
    const QStringList ids = xdotool({ QStringLiteral("search"), QStringLiteral("--pid"), QString::number(pid) })
                                .split(u'\n', Qt::SkipEmptyParts);
    for (const QString &id : ids) {
        QProcess xprop;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DISPLAY"), m_display);
        xprop.setProcessEnvironment(environment);
        xprop.start(QStringLiteral("xprop"), { QStringLiteral("-id"), id, QStringLiteral("WM_STATE") });
        if (xprop.waitForFinished(5000) && xprop.readAllStandardOutput().contains("window state: Iconic"))
            minimised.append(id.toULongLong());
    }
    return minimised;
}

std::optional<Desktop::Window> Desktop::waitFor(
    qint64 pid, const std::function<bool(const Window &)> &wanted, int ms) const
{
    const QDeadlineTimer deadline(ms);
    do {
        for (const Window &window : windowsOf(pid)) {
            if (wanted(window))
                return window;
        }
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return std::nullopt;
}

bool Desktop::waitUntilNone(qint64 pid, const std::function<bool(const Window &)> &unwanted, int ms) const
{
    const QDeadlineTimer deadline(ms);
    do {
        const QList<Window> windows = windowsOf(pid);
        if (std::none_of(windows.begin(), windows.end(), unwanted))
            return true;
        QThread::msleep(kPollMs);
    } while (!deadline.hasExpired());
    return false;
}

std::optional<Desktop::Window> Desktop::waitForWindow(qint64 pid, QSize size, int ms) const
{
    return waitFor(
        pid, [size](const Window &window) { return window.geometry.size() == size; }, ms);
}

bool Desktop::waitUntilGone(qint64 pid, QSize size, int ms) const
{
    return waitUntilNone(
        pid, [size](const Window &window) { return window.geometry.size() == size; }, ms);
}

std::optional<Desktop::Window> Desktop::waitForNewWindow(qint64 pid, const QList<Window> &known, int ms) const
{
    return waitFor(
        pid,
        [&known](const Window &window) {
            return std::none_of(
                known.begin(), known.end(), [&window](const Window &old) { return old.id == window.id; });
        },
        ms);
}

bool Desktop::waitUntilNoneShown(qint64 pid, int ms) const
{
    return waitUntilNone(
        pid, [](const Window &) { return true; }, ms);
}

bool Desktop::waitUntilClosed(qint64 pid, const Window &window, int ms) const
{
    return waitUntilNone(
        pid, [&window](const Window &shown) { return shown.id == window.id; }, ms);
}

quint64 Desktop::activeWindow() const { return xdotool({ QStringLiteral("getactivewindow") }).trimmed().toULongLong(); }

QString Desktop::windowName(quint64 id) const
{
    return xdotool({ QStringLiteral("getwindowname"), QString::number(id) }).trimmed();
}

void Desktop::activate(const Window &window) const
{
    (void)xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(window.id) });
}

void Desktop::click(QPoint screenPoint) const
{
    (void)xdotool({ QStringLiteral("mousemove"), QString::number(screenPoint.x()), QString::number(screenPoint.y()),
        QStringLiteral("click"), QStringLiteral("1") });
}

void Desktop::pressKey(const Window &window, const QString &key) const
{
    // Without a window manager nobody gives the focus to a window but us.
    (void)xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window.id),
        QStringLiteral("key"), key });
}

void Desktop::typeText(const Window &window, const QString &text) const
{
    (void)xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), QString::number(window.id),
        QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text });
}

void Desktop::saveScreenshot(const Window &window, const QString &name) const
{
    const QDir folder(QStringLiteral(TOLLWISE_E2E_ARTIFACTS));
    if (!folder.mkpath(QStringLiteral(".")))
        ADD_FAILURE() << "cannot make the artefact folder " << folder.path().toStdString();
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(WId(window.id));
    EXPECT_FALSE(picture.isNull()) << "no picture of " << name.toStdString();
    EXPECT_TRUE(picture.save(folder.filePath(name + QStringLiteral(".png"))))
        << "cannot save the picture " << name.toStdString();
}
