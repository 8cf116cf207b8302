#pragma once

#include "platform/notifications/DesktopNotifications.h"

#include <QObject>
#include <QString>

class CallMonitor;
class SpendingWatch;
struct Settings;

// Which of the program's events reach the desktop as notifications: budget
// warnings, hang-ups the program made by itself, the dial-up service stopping
// during a call, and, when the user chose so, the end of every call. The
// program's own messages stay as they are; these only tell.
class CallNotifications final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CallNotifications)

public:
    CallNotifications(const CallMonitor &monitor, const SpendingWatch &spending, const Settings &settings,
        DesktopNotifications &notifications, QObject *parent = nullptr);

    // The dial-up service (by its name for the user) stopped: told only
    // while a call runs, which is held until the service is back.
    void dialUpServiceLost(const QString &serviceName);

private:
    void displayChanged();
    QString lastCallText() const;

    const CallMonitor &m_monitor;
    const Settings &m_settings;
    DesktopNotifications &m_notifications;
    bool m_connected = false;
    // The running call as last shown: what the end of the call reports.
    QString m_provider;
    QString m_duration;
    QString m_cost;
};
