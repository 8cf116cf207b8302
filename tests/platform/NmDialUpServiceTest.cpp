#include "platform/networkmanager/NmDialUpService.h"
#include "support/NmMock.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Report {
    std::uint32_t state;
    dialup::ErrorCode error;
    bool operator==(const Report &) const = default;
};

class NmDialUpServiceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(mock.error().isEmpty()) << mock.error().toStdString(); }

    std::unique_ptr<NmDialUpService> connect(int timeoutMs = NmDialUpService::kDefaultTimeoutMs)
    {
        auto service = std::make_unique<NmDialUpService>(mock.bus(), timeoutMs);
        EXPECT_TRUE(service->waitUntilReady(5000));
        return service;
    }

    static std::vector<std::string> names(NmDialUpService &service)
    {
        std::vector<std::string> result;
        const auto connections = service.enumConnections();
        if (!connections)
            return { "(" + service.errorText(connections.error()) + ")" };
        for (const auto &connection : *connections)
            result.push_back(connection.entryName);
        return result;
    }

    static bool listed(NmDialUpService &service, const std::vector<std::string> &expected)
    {
        return NmMock::waitUntil([&] { return names(service) == expected; });
    }

    NmMock mock;
};

TEST_F(NmDialUpServiceTest, EntriesAreTheDialUpKindsAndMeteredLinks)
{
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    mock.addConnection(QStringLiteral("Office LAN"), QStringLiteral("802-3-ethernet"));
    mock.addConnection(QStringLiteral("CDMA stick"), QStringLiteral("cdma"));
    mock.addConnection(QStringLiteral("Home Wi-Fi"), QStringLiteral("802-11-wireless"));
    mock.addConnection(QStringLiteral("DSL"), QStringLiteral("pppoe"));
    mock.addConnection(QStringLiteral("ADSL"), QStringLiteral("adsl"));
    mock.addConnection(QStringLiteral("Phone DUN"), QStringLiteral("bluetooth"),
        { { QStringLiteral("bluetooth.type"), QStringLiteral("dun") } });
    mock.addConnection(QStringLiteral("Phone PAN"), QStringLiteral("bluetooth"),
        { { QStringLiteral("bluetooth.type"), QStringLiteral("panu") } });
    mock.addConnection(
        QStringLiteral("Hotspot"), QStringLiteral("802-11-wireless"), { { QStringLiteral("connection.metered"), 1 } });
    mock.addConnection(QStringLiteral("Unmetered LAN"), QStringLiteral("802-3-ethernet"),
        { { QStringLiteral("connection.metered"), 2 } });
    const auto service = connect();
    EXPECT_EQ(service->enumEntries().value(),
        (std::vector<std::string> { "Mobile", "CDMA stick", "DSL", "ADSL", "Phone DUN", "Hotspot" }));

    // One saved later is seen without asking again.
    mock.addConnection(QStringLiteral("Second modem"), QStringLiteral("gsm"));
    EXPECT_TRUE(NmMock::waitUntil([&] { return service->enumEntries().value().size() == 7; }));
}

TEST_F(NmDialUpServiceTest, ConnectionsActivatedElsewhereAreSeenButOrdinaryLinksAreNot)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    const QString wlan = mock.addDevice(QStringLiteral("wlan0"), 30);
    const QString mobile = mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    const QString wifi = mock.addConnection(QStringLiteral("Home Wi-Fi"), QStringLiteral("802-11-wireless"));
    mock.activate(wifi, wlan, 2, QStringLiteral("wifi"));
    const auto service = connect();
    EXPECT_TRUE(service->enumConnections().value().empty());

    const QString active = mock.activate(mobile, modem, 1, QStringLiteral("modem"));
    ASSERT_TRUE(listed(*service, { "Mobile" }));
    const dialup::ConnectionHandle handle = service->enumConnections().value().front().handle;
    // The mock brings the device up at once: the line is up.
    EXPECT_EQ(service->connectionStatus(handle).value().state, dialup::kConnected);

    mock.setActiveState(active, 4, 3);
    EXPECT_TRUE(NmMock::waitUntil([&] {
        const auto status = service->connectionStatus(handle);
        return status && status->state == dialup::kDisconnected;
    }));
    EXPECT_EQ(service->errorText(service->connectionStatus(handle)->error), "The device was disconnected.");
    mock.removeActive(modem, active);
    EXPECT_TRUE(listed(*service, {}));
}

// The dial progress follows the device through NetworkManager's states; the
// line counts as up from address configuration on.
TEST(NmDialUpService, DialReportsProgressInOrder)
{
    struct Step {
        std::uint32_t deviceState;
        std::uint32_t reason;
    };
    struct Case {
        const char *name;
        std::vector<Step> steps;
        std::vector<Report> expected;
        std::string lastError;
    };
    const std::vector<Case> cases = {
        { "connects", { { 40, 0 }, { 50, 0 }, { 60, 0 }, { 70, 0 }, { 100, 0 } },
            { { dialup::kOpenPort, 0 }, { dialup::kPortOpened, 0 }, { dialup::kConnectDevice, 0 },
                { dialup::kAuthenticate, 0 }, { dialup::kDeviceConnected, 0 }, { dialup::kConnected, 0 } },
            "" },
        { "no SIM", { { 40, 0 }, { 120, 45 } },
            { { dialup::kOpenPort, 0 }, { dialup::kPortOpened, 0 },
                { dialup::kDisconnected, nm::kDeviceReasonBase + 45 } },
            "No SIM card is inserted." },
    };
    for (const Case &testCase : cases) {
        SCOPED_TRACE(testCase.name);
        NmMock mock;
        ASSERT_TRUE(mock.error().isEmpty());
        const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
        mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
        mock.activateStepByStep(modem);
        NmDialUpService service(mock.bus());
        ASSERT_TRUE(service.waitUntilReady(5000));

        std::vector<Report> reports;
        ASSERT_TRUE(service.entryDialParams("Mobile").has_value());
        const auto handle = service.dial("Mobile", {}, {}, [&](std::uint32_t state, dialup::ErrorCode error) {
            reports.push_back({ state, error });
        });
        ASSERT_TRUE(handle.has_value());
        ASSERT_TRUE(NmMock::waitUntil([&] { return reports.size() == 1; }));
        for (std::size_t i = 0; i < testCase.steps.size(); ++i) {
            mock.setDeviceState(QStringLiteral("/org/freedesktop/NetworkManager/Devices/ttyUSB0"),
                testCase.steps[i].deviceState, testCase.steps[i].reason);
            ASSERT_TRUE(NmMock::waitUntil([&] { return reports.size() == i + 2; })) << "step " << i;
        }
        EXPECT_EQ(reports, testCase.expected);
        if (!testCase.lastError.empty()) {
            EXPECT_EQ(service.errorText(reports.back().error), testCase.lastError);
        }
    }
}

TEST_F(NmDialUpServiceTest, DialsAndHangsUpFromTheProgram)
{
    mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    const auto service = connect();
    EXPECT_EQ(service->dial("Nowhere", {}, {}, [](std::uint32_t, dialup::ErrorCode) {}).error(), nm::kErrorNoSuchEntry);

    std::vector<Report> reports;
    const auto handle = service->dial("Mobile", {}, {}, [&](std::uint32_t state, dialup::ErrorCode error) {
        reports.push_back({ state, error });
    });
    ASSERT_TRUE(handle.has_value());
    ASSERT_TRUE(NmMock::waitUntil([&] { return !reports.empty(); }));
    EXPECT_EQ(reports.back(), (Report { dialup::kConnected, 0 }));
    ASSERT_TRUE(listed(*service, { "Mobile" }));
    EXPECT_EQ(service->enumConnections().value().front().handle, *handle);

    ASSERT_TRUE(service->hangUp(*handle).has_value());
    // Down when NetworkManager says so, not at the asking.
    EXPECT_TRUE(listed(*service, {}));
    EXPECT_EQ(service->hangUp(*handle).error(), nm::kErrorNoSuchConnection);
}

TEST_F(NmDialUpServiceTest, NetworkManagerGoingIsNotTakenForTheLineGoing)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("0"));
    const auto service = connect();
    ASSERT_TRUE(listed(*service, { "Mobile" }));

    mock.kill();
    // Whether the line is still up nobody can tell until it is back.
    EXPECT_TRUE(NmMock::waitUntil([&] { return !service->enumConnections().has_value(); }));
    EXPECT_EQ(service->enumConnections().error(), nm::kErrorNotRunning);
    EXPECT_EQ(service->errorText(nm::kErrorNotRunning), "NetworkManager is not running.");
    EXPECT_EQ(service->dial("Mobile", {}, {}, [](std::uint32_t, dialup::ErrorCode) {}).error(), nm::kErrorNotRunning);

    ASSERT_TRUE(mock.start());
    const QString again = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), again, 2, QStringLiteral("0"));
    EXPECT_TRUE(listed(*service, { "Mobile" }));
}

TEST_F(NmDialUpServiceTest, ASilentNetworkManagerNeverHoldsUpTheCaller)
{
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    mock.activate(mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm")), modem, 2, QStringLiteral("0"));
    constexpr int kTimeoutMs = 300;
    const auto service = connect(kTimeoutMs);
    ASSERT_TRUE(listed(*service, { "Mobile" }));
    const dialup::ConnectionHandle handle = service->enumConnections().value().front().handle;

    mock.pause(true);
    std::vector<Report> reports;
    QElapsedTimer timer;
    timer.start();
    for (int tick = 0; tick < 5; ++tick) {
        EXPECT_EQ(names(*service), std::vector<std::string> { "Mobile" }) << "what is known stays known";
        EXPECT_TRUE(service->connectionStatus(handle).has_value());
        EXPECT_TRUE(service
                        ->dial("Mobile", {}, {},
                            [&](std::uint32_t state, dialup::ErrorCode error) {
                                reports.push_back({ state, error });
                            })
                        .has_value());
    }
    EXPECT_LT(timer.elapsed(), kTimeoutMs) << "every answer came from what was already known";
    // The unanswered dials fail with a text, once their time is up.
    EXPECT_TRUE(NmMock::waitUntil([&] { return reports.size() == 5; }));
    EXPECT_NE(reports.front().error, 0U);
    EXPECT_FALSE(service->errorText(reports.front().error).empty());
    mock.pause(false);
}

} // namespace
