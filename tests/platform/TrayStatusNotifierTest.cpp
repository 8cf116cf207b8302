#include "platform/tray/TrayIcon.h"

#include "core/connection/CallMonitorTestFixture.h"
#include "support/SessionBusMock.h"

#include <QApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
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

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

// The bus the whole run shares: the tray decides once per process whether
// the desktop has a tray, so the watcher must be there before the first icon.
SessionBusMock *g_bus = nullptr;

struct MenuEntry {
    int id = 0;
    QString label;
    bool enabled = true;
};

QList<MenuEntry> readMenu(const QDBusArgument &layout)
{
    QList<MenuEntry> entries;
    MenuEntry entry;
    QVariantMap properties;
    layout.beginStructure();
    layout >> entry.id >> properties;
    entry.label = properties.value(QStringLiteral("label")).toString().remove(QLatin1Char('_'));
    entry.enabled = properties.value(QStringLiteral("enabled"), true).toBool();
    if (!entry.label.isEmpty())
        entries.append(entry);
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        entries += readMenu(child.variant().value<QDBusArgument>());
    }
    layout.endArray();
    layout.endStructure();
    return entries;
}

class TrayStatusNotifierTest : public CallMonitorTest {
protected:
    void SetUp() override { ASSERT_TRUE(g_bus && g_bus->error().isEmpty()); }

    // The item's bus name, as it registered with the watcher.
    QString registeredItem() const
    {
        QString service;
        SessionBusMock::waitUntil([&service] {
            for (const SessionBusMock::Call &call : g_bus->calls(kWatcher, QStringLiteral("/StatusNotifierWatcher")))
                if (call.method == QLatin1String("RegisterStatusNotifierItem"))
                    service = call.arguments.value(0).toString();
            return !service.isEmpty();
        });
        return service;
    }

    QVariant itemProperty(const QString &service, const QString &name) const
    {
        QDBusMessage get = QDBusMessage::createMethodCall(service, QStringLiteral("/StatusNotifierItem"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << kItemInterface << name;
        return answer(get).value<QDBusVariant>().variant();
    }

    // The tooltip's title, where the item puts its text.
    QString toolTip(const QString &service) const
    {
        const QDBusArgument tip = itemProperty(service, QStringLiteral("ToolTip")).value<QDBusArgument>();
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
        const QDBusArgument pixmaps = itemProperty(service, QStringLiteral("IconPixmap")).value<QDBusArgument>();
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

    QList<MenuEntry> menu(const QString &service) const
    {
        const QString path = itemProperty(service, QStringLiteral("Menu")).value<QDBusObjectPath>().path();
        QDBusMessage get = QDBusMessage::createMethodCall(service, path, kMenuInterface, QStringLiteral("GetLayout"));
        get << 0 << -1 << QStringList();
        const QDBusMessage reply = call(get);
        return reply.arguments().size() < 2 ? QList<MenuEntry>()
                                            : readMenu(reply.arguments().at(1).value<QDBusArgument>());
    }

    void click(const QString &service, const QString &label) const
    {
        const QString path = itemProperty(service, QStringLiteral("Menu")).value<QDBusObjectPath>().path();
        for (const MenuEntry &entry : menu(service))
            if (entry.label == label) {
                QDBusMessage event
                    = QDBusMessage::createMethodCall(service, path, kMenuInterface, QStringLiteral("Event"));
                event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << uint(0);
                call(event);
                return;
            }
        ADD_FAILURE() << "no menu entry " << label.toStdString();
    }

    // The item answers from this process: the call must not block its event loop.
    QDBusMessage call(const QDBusMessage &message) const
    {
        QDBusPendingCall pending = g_bus->bus().asyncCall(message, 5000);
        SessionBusMock::waitUntil([&pending] { return pending.isFinished(); });
        return pending.reply();
    }
    QVariant answer(const QDBusMessage &message) const
    {
        const QDBusMessage reply = call(message);
        return reply.arguments().value(0);
    }
};

} // namespace

TEST_F(TrayStatusNotifierTest, TheItemRegistersFollowsACallAndItsMenuActs)
{
    ASSERT_TRUE(TrayIcon::desktopHasTray());
    TrayIcon tray;
    QObject::connect(&monitor, &CallMonitor::displayChanged, &tray, [&] { tray.setView(trayView(display())); });
    tray.show();
    const QString item = registeredItem();
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
    for (const MenuEntry &entry : menu(item))
        labels.append(entry.label);
    EXPECT_EQ(labels,
        QList<QString>(
            { QStringLiteral("Hang up"), QStringLiteral("Hide"), QStringLiteral("Call log"), QStringLiteral("Exit") }));

    QSignalSpy dial(&tray, &TrayIcon::dialClicked);
    QSignalSpy showHide(&tray, &TrayIcon::showHideClicked);
    QSignalSpy callLog(&tray, &TrayIcon::callLogClicked);
    QSignalSpy exit(&tray, &TrayIcon::exitClicked);
    click(item, QStringLiteral("Hang up"));
    click(item, QStringLiteral("Call log"));
    click(item, QStringLiteral("Exit"));
    // A click on the icon itself.
    QDBusMessage activate = QDBusMessage::createMethodCall(
        item, QStringLiteral("/StatusNotifierItem"), kItemInterface, QStringLiteral("Activate"));
    activate << 10 << 10;
    call(activate);
    EXPECT_TRUE(SessionBusMock::waitUntil([&] { return exit.size() == 1 && showHide.size() == 1; }));
    EXPECT_EQ(dial.size(), 1);
    EXPECT_EQ(callLog.size(), 1);

    dialUp.drop(handle);
    tick();
    EXPECT_TRUE(SessionBusMock::waitUntil([&] {
        const QList<MenuEntry> entries = menu(item);
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
        if (bus.error().isEmpty()
            && bus.startMock(
                { QStringLiteral("--session"), kWatcher, QStringLiteral("/StatusNotifierWatcher"), kWatcher },
                kWatcher)) {
            const QString path = QStringLiteral("/StatusNotifierWatcher");
            bus.mockCall(kWatcher, path, QStringLiteral("AddMethod"),
                { kWatcher, QStringLiteral("RegisterStatusNotifierItem"), QStringLiteral("s"), QString(), QString() });
            bus.mockCall(kWatcher, path, QStringLiteral("AddProperty"),
                { kWatcher, QStringLiteral("IsStatusNotifierHostRegistered"),
                    QVariant::fromValue(QDBusVariant(true)) });
            bus.mockCall(kWatcher, path, QStringLiteral("AddProperty"),
                { kWatcher, QStringLiteral("ProtocolVersion"), QVariant::fromValue(QDBusVariant(0)) });
            bus.mockCall(kWatcher, path, QStringLiteral("AddProperty"),
                { kWatcher, QStringLiteral("RegisteredStatusNotifierItems"),
                    QVariant::fromValue(QDBusVariant(QStringList())) });
        }
        result = RUN_ALL_TESTS();
        g_bus = nullptr;
    }
    stop(server);
    return result;
}
