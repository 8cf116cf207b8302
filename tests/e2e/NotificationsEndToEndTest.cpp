#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "support/NmMock.h"
#include "support/SessionBusMock.h"

#include <gtest/gtest.h>

using namespace DataFileBytes;

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

struct Notice {
    QString summary;
    QString body;
};

QList<Notice> notices(const SessionBusMock &session)
{
    QList<Notice> sent;
    for (const SessionBusMock::Call &call : session.calls(kService, kPath))
        if (call.method == QLatin1String("Notify"))
            sent.append({ call.arguments.value(3).toString(), call.arguments.value(4).toString() });
    return sent;
}

// The first notice with that summary, once it arrives within `ms`.
std::optional<Notice> waitForNotice(const SessionBusMock &session, const QString &summary, int ms)
{
    std::optional<Notice> found;
    SessionBusMock::waitUntil(
        [&] {
            for (const Notice &notice : notices(session))
                if (notice.summary == summary)
                    found = notice;
            return found.has_value();
        },
        ms);
    return found;
}

} // namespace

// The real program with a notification service and NetworkManager on private
// buses: a call already running at the start over a budget that it spends
// at once is told at the first tick, while the splash still shows, and
// NetworkManager leaving during that call is told with the call as it stood.
TEST(NotificationsEndToEnd, ASpentBudgetAtStartAndNetworkManagerLeavingReachTheDesktop)
{
    SessionBusMock session;
    ASSERT_TRUE(session.error().isEmpty()) << session.error().toStdString();
    ASSERT_TRUE(session.startMock(
        { QStringLiteral("--session"), QStringLiteral("--template"), QStringLiteral("notification_daemon") }, kService))
        << "the mock notification service did not start";
    NmMock nm;
    ASSERT_TRUE(nm.error().isEmpty()) << nm.error().toStdString();
    const QString modem = nm.addDevice(QStringLiteral("ttyUSB0"), 30);
    nm.activate(nm.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("modem"));

    ProgramFolder folder;
    ASSERT_TRUE(folder.error().isEmpty()) << folder.error().toStdString();
    folder.setSystemBus(nm.address());
    // 0.02 a second and 0.05 per call, against a budget of 0.01.
    folder.writeFile(QStringLiteral("Tariffs.data"),
        tariffsFile({ .id = 3, .name = "Seconds", .unitKind = 2, .chargeKind = 1, .unitCost = 200, .minCharge = 500 }));
    folder.writeFile(QStringLiteral("settings.data"),
        "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=3\r\nDialUpService=NetworkManager\r\n");
    folder.writeFile(QStringLiteral("budgets.data"), "[Budget.0]\r\nName=Mobile\r\nMoney=100\r\n");
    Desktop desktop;
    RunningProgram program(folder, desktop);
    program.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), session.address());
    ASSERT_TRUE(program.start());

    const std::optional<Notice> warning = waitForNotice(session, QStringLiteral("Budget warning"), 10000);
    ASSERT_TRUE(warning.has_value()) << "no budget warning reached the desktop\n" << program.output().toStdString();
    EXPECT_TRUE(warning->body.startsWith(QStringLiteral("You have used "))
        && warning->body.contains(QStringLiteral(" % of this billing month's money budget for Mobile: ")))
        << warning->body.toStdString();

    nm.kill();
    const std::optional<Notice> lost
        = waitForNotice(session, QStringLiteral("NetworkManager stopped during a call"), 5000);
    ASSERT_TRUE(lost.has_value()) << "NetworkManager's leaving was not told\n" << program.output().toStdString();
    const QStringList lines = lost->body.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 2) << lost->body.toStdString();
    EXPECT_EQ(lines[0],
        QStringLiteral("The call is held as it stands. If the line is still up when NetworkManager is back, the call "
                       "goes on; otherwise it ended when NetworkManager stopped."));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("Mobile: 00:00:0"))) << lines[1].toStdString();
    EXPECT_TRUE(program.isRunning());
}
