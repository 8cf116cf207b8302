#include "platform/notifications/CallNotifications.h"
#include "platform/notifications/DesktopNotifications.h"

#include "core/connection/CallMonitorTestFixture.h"
#include "core/spending/SpendingWatch.h"
#include "support/SessionBusMock.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>

#include <gtest/gtest.h>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

struct Notice {
    QString appName;
    QString icon;
    QString summary;
    QString body;
    int urgency = -1;
    QString desktopEntry;
    int timeout = 0;
};

// Each call the desktop's notification service received, in order.
class NotificationsTest : public CallMonitorTest {
protected:
    NotificationsTest()
    {
        if (!busMock.error().isEmpty())
            return;
        daemonUp = busMock.startMock(
            { QStringLiteral("--session"), QStringLiteral("--template"), QStringLiteral("notification_daemon") },
            kService);
        notifications = std::make_unique<DesktopNotifications>(busMock.bus(), QStringLiteral("org.example.tollwise"));
        callNotifications = std::make_unique<CallNotifications>(monitor, spending, core->settings(), *notifications);
        setTariffs({ tariffdata::rate(1, 1, 10000, 5000) }); // 1.00 a minute, at least 0.50
    }

    void SetUp() override
    {
        ASSERT_TRUE(busMock.error().isEmpty()) << busMock.error().toStdString();
        ASSERT_TRUE(daemonUp) << "the mock notification service did not start";
    }

    QList<Notice> notices(qsizetype atLeast = 0) const
    {
        QList<Notice> result;
        SessionBusMock::waitUntil([&] { return countNotify() >= atLeast; }, 3000);
        for (const SessionBusMock::Call &call : busMock.calls(kService, kPath)) {
            if (call.method != QLatin1String("Notify"))
                continue;
            const QVariantList &a = call.arguments;
            QVariantMap hints;
            a.value(6).value<QDBusArgument>() >> hints;
            const Notice notice { a.value(0).toString(), a.value(2).toString(), a.value(3).toString(),
                a.value(4).toString(), hints.value(QStringLiteral("urgency"), -1).toInt(),
                hints.value(QStringLiteral("desktop-entry")).toString(), a.value(7).toInt() };
            result.append(notice);
        }
        return result;
    }
    qsizetype countNotify() const
    {
        qsizetype count = 0;
        for (const SessionBusMock::Call &call : busMock.calls(kService, kPath))
            count += call.method == QLatin1String("Notify");
        return count;
    }

    // A five-second call on DemoEntry: 0.50 at least and one started minute of 1.00.
    void fiveSecondCall()
    {
        const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
        for (int i = 0; i < 5; ++i)
            tick();
        dialUp.drop(handle);
        tick();
    }

    SessionBusMock busMock;
    bool daemonUp = false;
    SpendingWatch spending { spendingParts(*core), clock };
    std::unique_ptr<DesktopNotifications> notifications;
    std::unique_ptr<CallNotifications> callNotifications;
};

} // namespace

TEST_F(NotificationsTest, ANoticeCarriesTheProgramItsTextAndUrgency)
{
    // Let the service's capabilities arrive: it reads bodies as markup.
    SessionBusMock::waitUntil([] { return false; }, 300);
    notifications->notify(QStringLiteral("Budget warning"), QStringLiteral("Line one\rA & <b> Net"),
        DesktopNotifications::Urgency::Critical);
    const QList<Notice> sent = notices(1);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].appName, QStringLiteral("Tollwise"));
    EXPECT_EQ(sent[0].icon, QStringLiteral("org.example.tollwise"));
    EXPECT_EQ(sent[0].desktopEntry, QStringLiteral("org.example.tollwise"));
    EXPECT_EQ(sent[0].summary, QStringLiteral("Budget warning"));
    EXPECT_EQ(sent[0].body, QStringLiteral("Line one\nA &amp; &lt;b&gt; Net"));
    EXPECT_EQ(sent[0].urgency, 2);
    EXPECT_EQ(sent[0].timeout, -1) << "the service decides how long it stays";
}

TEST_F(NotificationsTest, TheEndOfACallIsToldOnlyWhenTheUserAskedForIt)
{
    fiveSecondCall();
    SessionBusMock::waitUntil([] { return false; }, 300);
    EXPECT_EQ(countNotify(), 0) << "off by default";

    core->settings().NotifyCallEnded = true;
    fiveSecondCall();
    const QList<Notice> sent = notices(1);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].summary, QStringLiteral("Call ended"));
    EXPECT_EQ(sent[0].body, QStringLiteral("DemoEntry: 00:00:05, £ 1.50"));
    EXPECT_EQ(sent[0].urgency, 0);
}

TEST_F(NotificationsTest, TheDialUpServiceStoppingIsToldOnlyDuringACall)
{
    callNotifications->dialUpServiceLost(QStringLiteral("NetworkManager"));
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    tick();
    tick();
    callNotifications->dialUpServiceLost(QStringLiteral("NetworkManager"));
    const QList<Notice> sent = notices(1);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].summary, QStringLiteral("NetworkManager stopped during a call"));
    EXPECT_EQ(sent[0].body,
        QStringLiteral("The call is held as it stands. If the line is still up when NetworkManager is back, the call "
                       "goes on; otherwise it ended when NetworkManager stopped.\nDemoEntry: 00:00:02, £ 1.50"));
    EXPECT_EQ(sent[0].urgency, 2);
    dialUp.drop(handle);
    tick();
}

TEST_F(NotificationsTest, WithoutANotificationServiceNothingBreaks)
{
    busMock.stopMock();
    ASSERT_TRUE(SessionBusMock::waitUntil(
        [this] { return !busMock.bus().interface()->isServiceRegistered(kService).value(); }));
    core->settings().NotifyCallEnded = true;
    fiveSecondCall();
    notifications->notify(QStringLiteral("Budget warning"), QStringLiteral("80 %"));
    SessionBusMock::waitUntil([] { return false; }, 300);
    EXPECT_EQ(core->log().Count, 1) << "the call is logged as ever";

    // No bus at all: nothing is sent and nothing waits.
    DesktopNotifications nowhere(QDBusConnection(QStringLiteral("no-such-connection")), QStringLiteral("x"));
    nowhere.notify(QStringLiteral("Call ended"), QStringLiteral("DemoEntry"));
}

TEST_F(NotificationsTest, BudgetWarningsAndTheProgramsOwnHangUpsReachTheDesktop)
{
    const auto handle = dialUp.connect("DemoEntry", dialup::kConnected);
    tick();
    tick();
    BudgetWarning warning;
    warning.provider = QStringLiteral("DemoEntry");
    warning.level = 80;
    warning.text = QStringLiteral("You have used 80 % of this billing month's budget for DemoEntry.");
    emit spending.budgetWarningDue(warning);
    emit spending.hangUpRequested();
    const QList<Notice> sent = notices(2);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0].summary, QStringLiteral("Budget warning"));
    EXPECT_EQ(sent[0].body, QStringLiteral("You have used 80 % of this billing month's budget for DemoEntry."));
    EXPECT_EQ(sent[1].summary, QStringLiteral("Tollwise hung up the call"));
    EXPECT_EQ(sent[1].body, QStringLiteral("DemoEntry: 00:00:02, £ 1.50"));
    dialUp.drop(handle);
    tick();
}
