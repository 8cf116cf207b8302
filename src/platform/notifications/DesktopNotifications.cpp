#include "platform/notifications/DesktopNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
constexpr int kAnswerMs = 5000;

QDBusMessage call(const QString &method) { return QDBusMessage::createMethodCall(kService, kPath, kService, method); }

} // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus, QString desktopEntry, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_desktopEntry(std::move(desktopEntry))
{
    if (!m_bus.isConnected())
        return;
    auto *watcher
        = new QDBusPendingCallWatcher(m_bus.asyncCall(call(QStringLiteral("GetCapabilities")), kAnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *answer) {
        const QDBusPendingReply<QStringList> reply = *answer;
        m_bodyMarkup = reply.isValid() && reply.value().contains(QStringLiteral("body-markup"));
        answer->deleteLater();
    });
}

void DesktopNotifications::notify(const QString &summary, const QString &body, Urgency urgency)
{
    if (!m_bus.isConnected())
        return;
    QString text = body;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A provider named "<b>" must read as it is written.
    if (m_bodyMarkup)
        text = text.toHtmlEscaped();
    QDBusMessage message = call(QStringLiteral("Notify"));
    const QVariantMap hints { { QStringLiteral("urgency"), QVariant::fromValue(uchar(urgency)) },
        { QStringLiteral("desktop-entry"), m_desktopEntry } };
    message << QStringLiteral("Tollwise") << uint(0) << m_desktopEntry << summary << text << QStringList() << hints
            << int(-1);
    // The answer (the notice's id, or an error) is of no use to us.
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, kAnswerMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
}
