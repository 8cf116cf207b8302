#include "platform/simdialup/SimConnection.h"
#include "platform/simdialup/SimErrors.h"

#include <gtest/gtest.h>

using Phase = SimConnection::Phase;

namespace {

SimConnection course(
    qint64 stageMs, dialup::ErrorCode failError = 0, std::uint32_t failState = 0, qint64 dropAfterMs = 0)
{
    SimConnection c;
    c.entryName = QStringLiteral("Line");
    c.dialStartMs = 100000;
    c.stageMs = stageMs;
    c.failError = failError;
    c.failState = failState;
    c.dropAfterMs = dropAfterMs;
    return c;
}

} // namespace

TEST(SimConnection, StateFollowsTheTimeSinceDialling)
{
    struct Case {
        const char *what;
        SimConnection connection;
        qint64 elapsedMs;
        Phase phase;
        std::uint32_t state;
        dialup::ErrorCode error;
    };
    const SimConnection plain = course(1000);
    const SimConnection noAnswer = course(1000, simdialup::kNoAnswer, dialup::kConnectDevice);
    const SimConnection refused = course(1000, simdialup::kAuthenticationFailed, dialup::kAuthenticate);
    const SimConnection drops = course(1000, 0, 0, 10000);
    const Case cases[] = {
        { "just dialled", plain, 0, Phase::Dialling, dialup::kOpenPort, 0 },
        { "end of the first stage", plain, 999, Phase::Dialling, dialup::kOpenPort, 0 },
        { "second stage", plain, 1000, Phase::Dialling, dialup::kPortOpened, 0 },
        { "third stage", plain, 2500, Phase::Dialling, dialup::kConnectDevice, 0 },
        { "device connected", plain, 3000, Phase::Dialling, dialup::kDeviceConnected, 0 },
        { "authenticating", plain, 4000, Phase::Dialling, dialup::kAuthenticate, 0 },
        { "authenticated", plain, 5999, Phase::Dialling, dialup::kAuthenticated, 0 },
        { "connected after six stages", plain, 6000, Phase::Connected, dialup::kConnected, 0 },
        { "stays connected", plain, 1000000000, Phase::Connected, dialup::kConnected, 0 },
        { "clock set back", plain, -5000, Phase::Dialling, dialup::kOpenPort, 0 },
        { "no stage time connects at once", course(0), 0, Phase::Connected, dialup::kConnected, 0 },
        { "no answer while ringing", noAnswer, 2999, Phase::Dialling, dialup::kConnectDevice, 0 },
        { "no answer at the end of ringing", noAnswer, 3000, Phase::Failed, dialup::kConnectDevice,
            simdialup::kNoAnswer },
        { "no answer stays failed", noAnswer, 60000, Phase::Failed, dialup::kConnectDevice, simdialup::kNoAnswer },
        { "refused while checking", refused, 4999, Phase::Dialling, dialup::kAuthenticate, 0 },
        { "refused after checking", refused, 5000, Phase::Failed, dialup::kAuthenticate,
            simdialup::kAuthenticationFailed },
        { "failing without stage time", course(0, simdialup::kLineBusy, dialup::kConnectDevice), 0, Phase::Failed,
            dialup::kConnectDevice, simdialup::kLineBusy },
        { "up before the drop", drops, 15999, Phase::Connected, dialup::kConnected, 0 },
        { "dropped", drops, 16000, Phase::Disconnected, dialup::kDisconnected, 0 },
        { "still listed as dropped", drops, 18999, Phase::Disconnected, dialup::kDisconnected, 0 },
        { "gone three seconds after the drop", drops, 19000, Phase::Gone, dialup::kDisconnected, 0 },
    };
    for (const Case &c : cases) {
        const SimConnection::Moment moment = c.connection.at(c.connection.dialStartMs + c.elapsedMs);
        EXPECT_EQ(moment.phase, c.phase) << c.what;
        EXPECT_EQ(moment.status.state, c.state) << c.what;
        EXPECT_EQ(moment.status.error, c.error) << c.what;
    }
}

TEST(SimConnection, ReportsEveryStateInOrderEvenWhenPolledLate)
{
    using Reports = std::vector<std::pair<std::uint32_t, dialup::ErrorCode>>;
    const auto reports = [](const SimConnection &c, qint64 elapsed) {
        Reports list;
        for (const dialup::ConnectionStatus &s : c.reportsUntil(c.dialStartMs + elapsed))
            list.emplace_back(s.state, s.error);
        return list;
    };
    EXPECT_EQ(reports(course(1000), 2000), (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 } }));
    EXPECT_EQ(reports(course(1000), 99000),
        (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 5, 0 }, { 14, 0 }, { 8192, 0 } }));
    EXPECT_EQ(reports(course(1000, 691, 5), 99000),
        (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 5, 0 }, { 5, 691 } }));
    EXPECT_EQ(reports(course(1000, 678, 2), 3000), (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 2, 678 } }));
    EXPECT_EQ(reports(course(0, 0, 0, 500), 600),
        (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 5, 0 }, { 14, 0 }, { 8192, 0 }, { 8193, 0 } }));
}

TEST(SimConnection, PlanFollowsTheEntryAndTheAccountGiven)
{
    SimEntry entry;
    entry.name = QStringLiteral("Home");
    entry.userName = QStringLiteral("ann");
    entry.password = QStringLiteral("secret");
    entry.stageSeconds = 0.25;
    struct Case {
        const char *what;
        bool answers;
        std::uint32_t failWithError;
        int dropAfterSeconds;
        const char *user;
        const char *password;
        dialup::ErrorCode error;
        std::uint32_t failState;
        qint64 dropAfterMs;
    };
    const Case cases[] = {
        { "connects", true, 0, 0, "ann", "secret", 0, 0, 0 },
        { "connects and drops later", true, 0, 30, "ann", "secret", 0, 0, 30000 },
        { "wrong password", true, 0, 30, "ann", "Secret", simdialup::kAuthenticationFailed, dialup::kAuthenticate, 0 },
        { "wrong user", true, 0, 0, "bob", "secret", simdialup::kAuthenticationFailed, dialup::kAuthenticate, 0 },
        { "no answer beats everything", false, 676, 0, "bob", "x", simdialup::kNoAnswer, dialup::kConnectDevice, 0 },
        { "a line error fails while ringing", true, 676, 0, "ann", "secret", 676, dialup::kConnectDevice, 0 },
        { "an account error fails while checking", true, 649, 0, "ann", "secret", 649, dialup::kAuthenticate, 0 },
    };
    for (const Case &c : cases) {
        entry.answers = c.answers;
        entry.failWithError = c.failWithError;
        entry.dropAfterSeconds = c.dropAfterSeconds;
        const SimConnection plan
            = SimConnection::plan(entry, QString::fromLatin1(c.user), QString::fromLatin1(c.password));
        EXPECT_EQ(plan.entryName, QStringLiteral("Home")) << c.what;
        EXPECT_EQ(plan.stageMs, 250) << c.what;
        EXPECT_EQ(plan.failError, c.error) << c.what;
        EXPECT_EQ(plan.failState, c.failState) << c.what;
        EXPECT_EQ(plan.dropAfterMs, c.dropAfterMs) << c.what;
    }
}
