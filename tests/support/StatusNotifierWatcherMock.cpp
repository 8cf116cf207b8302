#include "support/StatusNotifierWatcherMock.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QStringList>

namespace {

const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

QList<StatusNotifierWatcherMock::MenuEntry> readMenu(const QDBusArgument &layout)
{
    QList<StatusNotifierWatcherMock::MenuEntry> entries;
    StatusNotifierWatcherMock::MenuEntry entry;
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

} // namespace

StatusNotifierWatcherMock::StatusNotifierWatcherMock(SessionBusMock &bus)
    : m_bus(bus)
{
    if (!bus.error().isEmpty()) {
        m_error = bus.error();
        return;
    }
    if (!bus.startMock({ QStringLiteral("--session"), kWatcher, kWatcherPath, kWatcher }, kWatcher)) {
        m_error = QStringLiteral("the mock StatusNotifierWatcher did not start");
        return;
    }
    bus.mockCall(kWatcher, kWatcherPath, QStringLiteral("AddMethod"),
        { kWatcher, QStringLiteral("RegisterStatusNotifierItem"), QStringLiteral("s"), QString(), QString() });
    bus.mockCall(kWatcher, kWatcherPath, QStringLiteral("AddProperty"),
        { kWatcher, QStringLiteral("IsStatusNotifierHostRegistered"), QVariant::fromValue(QDBusVariant(true)) });
    bus.mockCall(kWatcher, kWatcherPath, QStringLiteral("AddProperty"),
        { kWatcher, QStringLiteral("ProtocolVersion"), QVariant::fromValue(QDBusVariant(0)) });
    bus.mockCall(kWatcher, kWatcherPath, QStringLiteral("AddProperty"),
        { kWatcher, QStringLiteral("RegisteredStatusNotifierItems"),
            QVariant::fromValue(QDBusVariant(QStringList())) });
}

QString StatusNotifierWatcherMock::registeredItem(int ms) const
{
    QString service;
    SessionBusMock::waitUntil(
        [this, &service] {
            for (const SessionBusMock::Call &call : m_bus.calls(kWatcher, kWatcherPath))
                if (call.method == QLatin1String("RegisterStatusNotifierItem"))
                    service = call.arguments.value(0).toString();
            return !service.isEmpty();
        },
        ms);
    return service;
}

QVariant StatusNotifierWatcherMock::itemProperty(const QString &item, const QString &name) const
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        item, kItemPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << kItemInterface << name;
    return call(get).arguments().value(0).value<QDBusVariant>().variant();
}

QList<StatusNotifierWatcherMock::MenuEntry> StatusNotifierWatcherMock::menu(const QString &item) const
{
    const QString path = itemProperty(item, QStringLiteral("Menu")).value<QDBusObjectPath>().path();
    QDBusMessage get = QDBusMessage::createMethodCall(item, path, kMenuInterface, QStringLiteral("GetLayout"));
    get << 0 << -1 << QStringList();
    const QDBusMessage reply = call(get);
    return reply.arguments().size() < 2 ? QList<MenuEntry>() : readMenu(reply.arguments().at(1).value<QDBusArgument>());
}

bool StatusNotifierWatcherMock::click(const QString &item, const QString &label) const
{
    const QString path = itemProperty(item, QStringLiteral("Menu")).value<QDBusObjectPath>().path();
    for (const MenuEntry &entry : menu(item))
        if (entry.label == label) {
            QDBusMessage event = QDBusMessage::createMethodCall(item, path, kMenuInterface, QStringLiteral("Event"));
            event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << uint(0);
            return call(event).type() == QDBusMessage::ReplyMessage;
        }
    return false;
}

void StatusNotifierWatcherMock::activate(const QString &item) const
{
    QDBusMessage activate = QDBusMessage::createMethodCall(item, kItemPath, kItemInterface, QStringLiteral("Activate"));
    activate << 10 << 10;
    call(activate);
}

QDBusMessage StatusNotifierWatcherMock::call(const QDBusMessage &message) const
{
    QDBusPendingCall pending = m_bus.bus().asyncCall(message, 5000);
    SessionBusMock::waitUntil([&pending] { return pending.isFinished(); });
    return pending.reply();
}
