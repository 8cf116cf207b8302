#include "platform/notifications/CallNotifications.h"

#include "core/connection/CallMonitor.h"
#include "core/spending/SpendingWatch.h"
#include "core/store/Settings.h"

CallNotifications::CallNotifications(const CallMonitor &monitor, const SpendingWatch &spending,
    const Settings &settings, DesktopNotifications &notifications, QObject *parent)
    : QObject(parent)
    , m_monitor(monitor)
    , m_settings(settings)
    , m_notifications(notifications)
{
    connect(&monitor, &CallMonitor::displayChanged, this, &CallNotifications::displayChanged);
    connect(&spending, &SpendingWatch::budgetWarningDue, this, [this](const BudgetWarning &warning) {
        m_notifications.notify(QStringLiteral("Budget warning"), warning.text);
    });
    connect(&spending, &SpendingWatch::hangUpRequested, this,
        [this] { m_notifications.notify(QStringLiteral("Tollwise hung up the call"), lastCallText()); });
}

QString CallNotifications::lastCallText() const
{
    return QStringLiteral("%1: %2, %3").arg(m_provider, m_duration, m_cost);
}

void CallNotifications::displayChanged()
{
    const MonitorDisplay &display = m_monitor.display();
    const bool connected = display.callLabelsBold;
    if (connected) {
        m_provider = display.selectedEntry;
        m_duration = display.durationText;
        m_cost = display.costText;
    } else if (m_connected && m_settings.NotifyCallEnded) {
        m_notifications.notify(QStringLiteral("Call ended"), lastCallText(), DesktopNotifications::Urgency::Low);
    }
    m_connected = connected;
}

void CallNotifications::dialUpServiceLost(const QString &serviceName)
{
    if (!m_connected)
        return;
    m_notifications.notify(QStringLiteral("%1 stopped during a call").arg(serviceName),
        QStringLiteral("The call is held as it stands. If the line is still up when %1 is back, the call goes on; "
                       "otherwise it ended when %1 stopped.\r%2")
            .arg(serviceName, lastCallText()),
        DesktopNotifications::Urgency::Critical);
}
