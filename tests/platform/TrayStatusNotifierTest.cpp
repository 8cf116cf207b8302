#include "platform/tray/TrayIcon.h"

#include "core/connection/CallMonitorTestFixture.h"
#include "support/SessionBusMock.h"
#include "support/StatusNotifierWatcherMock.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// The bus and the watcher the whole run shares: the tray decides once per
// process whether the desktop has a tray, so the watcher must be there
// before the first icon.
SessionBusMock *g_bus = nullptr;
StatusNotifierWatcherMock *g_watcher = nullptr;

class TrayStatusNotifierTest : public CallMonitorTest {
protected:
    void SetUp() override { ASSERT_TRUE(g_watcher && g_watcher->error().isEmpty()); }

    // The tooltip's title, where the item puts its text.
    QString toolTip(const QString &service) const
    {
        const QDBusArgument tip = g_watcher->itemProperty(service, QStringLiteral("ToolTip")).value<QDBusArgument>();
        QString icon;
        QString title;
        QString description;
        tip.beginStructure();
        tip >> icon;
        tip.beginArray();
        while (!tip.atEnd()) {
            int width = 0;
            int height = 0;
            QByteArray bytes;
            tip.beginStructure();
            tip >> width >> height >> bytes;
            tip.endStructure();
        }
        tip.endArray();
        tip >> title >> description;
        tip.endStructure();
        return title + description;
    }

    QByteArray iconBytes(const QString &service) const
    {
        const QDBusArgument pixmaps
            = g_watcher->itemProperty(service, QStringLiteral("IconPixmap")).value<QDBusArgument>();
        QByteArray all;
        pixmaps.beginArray();
        while (!pixmaps.atEnd()) {
            int width = 0;
            int height = 0;
            QByteArray bytes;
            pixmaps.beginStructure();
            pixmaps >> width >> height >> bytes;
            pixmaps.endStructure();
            all += bytes;
        }
        pixmaps.endArray();
        return all;
    }
};

} // namespace

TEST_F(TrayStatusNotifierTest, TheItemRegistersFollowsACallAndItsMenuActs)
{
    ASSERT_TRUE(TrayIcon::desktopHasTray());
    TrayIcon tray;
    QObject::connect(&monitor, &CallMonitor::displayChanged, &tray, [&] { tray.setView(trayView(display())); });
    tray.show();
    const QString item = g_watcher->registeredItem();
    ASSERT_FALSE(item.isEmpty()) << "the item did not register with the watcher";
    ASSERT_TRUE(SessionBusMock::waitUntil([&] { return g_bus->bus().interface()->isServiceRegistered(item).value(); }));

    tick();
    EXPECT_TRUE(SessionBusMock::waitUntil([&] {
        return toolTip(item) == QStringLiteral("Other\nNot Connected\nToday £ 0.00");
    })) << toolTip(item).toStdString();
    const QByteArray idleIcon = iconBytes(item);

    setTariffs({ tariffdata::rate(1, 1, 10000, 5000) }); // 1.00 a minute, at least 0.50
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_TRUE(SessionBusMock::waitUntil([&] {
        return toolTip(item) == QStringLiteral("DemoEntry\n00:00:03   £ 1.50\nToday £ 1.50");
    })) << toolTip(item).toStdString();
    EXPECT_NE(iconBytes(item), idleIcon) << "the icon tells a call from idle";

    QList<QString> labels;
    for (const StatusNotifierWatcherMock::MenuEntry &entry : g_watcher->menu(item))
        labels.append(entry.label);
    EXPECT_EQ(labels,
        QList<QString>(
            { QStringLiteral("Hang up"), QStringLiteral("Hide"), QStringLiteral("Call log"), QStringLiteral("Exit") }));

    QSignalSpy dial(&tray, &TrayIcon::dialClicked);
    QSignalSpy showHide(&tray, &TrayIcon::showHideClicked);
    QSignalSpy callLog(&tray, &TrayIcon::callLogClicked);
    QSignalSpy exit(&tray, &TrayIcon::exitClicked);
    EXPECT_TRUE(g_watcher->click(item, QStringLiteral("Hang up")));
    EXPECT_TRUE(g_watcher->click(item, QStringLiteral("Call log")));
    EXPECT_TRUE(g_watcher->click(item, QStringLiteral("Exit")));
    g_watcher->activate(item);
    EXPECT_TRUE(SessionBusMock::waitUntil([&] { return exit.size() == 1 && showHide.size() == 1; }));
    EXPECT_EQ(dial.size(), 1);
    EXPECT_EQ(callLog.size(), 1);

    dialUp.drop(handle);
    tick();
    EXPECT_TRUE(SessionBusMock::waitUntil([&] {
        const QList<StatusNotifierWatcherMock::MenuEntry> entries = g_watcher->menu(item);
        return !entries.isEmpty() && entries.first().label == QLatin1String("Dial");
    }));
    EXPECT_EQ(iconBytes(item), idleIcon);
}

namespace {

// Starts a program whose first line of output is needed before the
// application exists; it dies with this process.
pid_t startReadingLine(const std::vector<const char *> &argv, std::string &line)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(fds[1], 1);
        close(fds[0]);
        std::vector<char *> args;
        for (const char *arg : argv)
            args.push_back(const_cast<char *>(arg));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    pollfd readable { fds[0], POLLIN, 0 };
    char c = 0;
    while (poll(&readable, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(fds[0]);
    return pid;
}

void stop(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char **argv)
{
    // Listing the tests needs neither.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]).starts_with("--gtest_list_tests")) {
            ::testing::InitGoogleTest(&argc, argv);
            return RUN_ALL_TESTS();
        }
    // A private X server and session bus, made before the application reads
    // them; a watcher on the bus that says a tray is shown.
    std::string display;
    const pid_t server
        = startReadingLine({ "Xvfb", "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp" }, display);
    setenv("DISPLAY", (":" + display).c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("XDG_CURRENT_DESKTOP");
    // Nothing may reach the desktop's own bus before the private one is up.
    setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus", 1);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    int result = 1;
    {
        SessionBusMock bus;
        g_bus = &bus;
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
        StatusNotifierWatcherMock watcher(bus);
        g_watcher = &watcher;
        result = RUN_ALL_TESTS();
        g_watcher = nullptr;
        g_bus = nullptr;
    }
    stop(server);
    return result;
}
