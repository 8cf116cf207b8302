#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

// Notices for the desktop's notification service (the freedesktop
// Notifications interface on the session bus). Sending never waits and never
// fails loudly: without a service, or with one that does not answer, the
// notice is simply not shown.
class DesktopNotifications final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifications)

public:
    enum class Urgency : uchar { Low = 0, Normal = 1, Critical = 2 };

    // `desktopEntry` names the program's desktop entry, for the service's
    // icon and settings.
    DesktopNotifications(QDBusConnection bus, QString desktopEntry, QObject *parent = nullptr);

    // `body` may break lines with "\r" as the program's messages do.
    void notify(const QString &summary, const QString &body, Urgency urgency = Urgency::Normal);

private:
    QDBusConnection m_bus;
    QString m_desktopEntry;
    bool m_bodyMarkup = false; // the service reads the body as markup: escape it
};
