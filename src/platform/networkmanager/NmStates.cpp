#include "platform/networkmanager/NmStates.h"

#include <array>
#include <utility>

namespace nm {

namespace {

// Reasons that mean nobody did anything wrong: the line was simply dropped.
bool isOrdinaryEnd(std::uint32_t activeReason)
{
    constexpr std::uint32_t kUnknown = 0, kNone = 1, kUserDisconnected = 2;
    return activeReason == kUnknown || activeReason == kNone || activeReason == kUserDisconnected;
}

std::uint32_t dialStateOf(std::uint32_t deviceState)
{
    switch (deviceState) {
    case kDevicePrepare:
        return dialup::kPortOpened;
    case kDeviceConfig:
        return dialup::kConnectDevice;
    case kDeviceNeedAuth:
        return dialup::kAuthenticate;
    // The first state in which the device's link is up: the modem has its
    // carrier (or the PPPoE or Bluetooth session exists) and what follows is
    // only address negotiation. The telephone company charges from here, so
    // the call is costed from here, as with "device connected" elsewhere.
    case kDeviceIpConfig:
        return dialup::kDeviceConnected;
    case kDeviceIpCheck:
    case kDeviceSecondaries:
        return kProjected;
    case kDeviceActivated:
        return dialup::kConnected;
    case kDeviceDeactivating:
        return dialup::kDisconnected;
    default:
        return dialup::kOpenPort;
    }
}

const std::array<std::pair<std::uint32_t, const char *>, 33> kDeviceReasons = { {
    { 4, "The device could not be configured." },
    { 5, "No network address was offered." },
    { 6, "The network address expired." },
    { 7, "The user name or password is missing." },
    { 12, "The dial-up link could not be started." },
    { 13, "The dial-up link was dropped." },
    { 14, "The dial-up link failed." },
    { 23, "The line is busy." },
    { 24, "There is no dial tone." },
    { 25, "No carrier: the other side did not answer." },
    { 26, "Dialling timed out." },
    { 27, "Dialling failed." },
    { 28, "The modem could not be initialised." },
    { 29, "The access point name (APN) was refused." },
    { 30, "The modem is not searching for a network." },
    { 31, "The mobile network refused registration." },
    { 32, "Registration with the mobile network timed out." },
    { 33, "Registration with the mobile network failed." },
    { 34, "The PIN check failed." },
    { 35, "The device's firmware is missing." },
    { 36, "The device was removed." },
    { 37, "The system is going to sleep." },
    { 38, "The connection was deleted." },
    { 39, "Disconnected by request." },
    { 43, "No modem was found." },
    { 44, "The Bluetooth link failed." },
    { 45, "No SIM card is inserted." },
    { 46, "The SIM card needs its PIN." },
    { 47, "The SIM card needs its PUK." },
    { 48, "The SIM card is not the right one." },
    { 52, "The modem service is not running." },
    { 57, "The modem failed." },
    { 59, "The PIN is wrong." },
} };

const std::array<const char *, 15> kActiveReasons = {
    "",
    "",
    "Disconnected by request.",
    "The device was disconnected.",
    "The connection's service stopped.",
    "The network address settings are not valid.",
    "Connecting timed out.",
    "The connection's service did not start in time.",
    "The connection's service could not start.",
    "The user name or password is missing.",
    "Logging on failed.",
    "The connection was deleted.",
    "A connection this one depends on failed.",
    "The device could not be set up.",
    "The device was removed.",
};

} // namespace

dialup::ConnectionStatus connectionStatus(
    std::uint32_t activeState, std::uint32_t activeReason, std::optional<DeviceState> device)
{
    if (device && device->state == kDeviceFailed)
        return { dialup::kDisconnected, kDeviceReasonBase + device->reason };
    switch (activeState) {
    case kActivated:
        return { dialup::kConnected, 0 };
    // The line is already being dropped: costing ends with it, not a second later.
    case kDeactivating:
    case kDeactivated:
        return { dialup::kDisconnected, isOrdinaryEnd(activeReason) ? 0 : kActiveReasonBase + activeReason };
    default:
        return { device ? dialStateOf(device->state) : dialup::kOpenPort, 0 };
    }
}

bool isDialUpEntry(const QMap<QString, QVariantMap> &settings)
{
    const QVariantMap connection = settings.value(QStringLiteral("connection"));
    constexpr int kMeteredYes = 1;
    if (connection.value(QStringLiteral("metered")).toInt() == kMeteredYes)
        return true;
    const QString type = connection.value(QStringLiteral("type")).toString();
    if (type == QLatin1String("gsm") || type == QLatin1String("cdma") || type == QLatin1String("pppoe")
        || type == QLatin1String("adsl"))
        return true;
    return type == QLatin1String("bluetooth")
        && settings.value(QStringLiteral("bluetooth")).value(QStringLiteral("type")).toString() == QLatin1String("dun");
}

QString errorText(dialup::ErrorCode code)
{
    switch (code) {
    case kErrorNotRunning:
        return QStringLiteral("NetworkManager is not running.");
    case kErrorNoSuchEntry:
        return QStringLiteral("NetworkManager has no dial-up connection of that name.");
    case kErrorNoSuchConnection:
        return QStringLiteral("That connection is no longer active.");
    case kErrorNotPermitted:
        return QStringLiteral("You are not allowed to connect or disconnect through NetworkManager.");
    case kErrorNotAnswering:
        return QStringLiteral("NetworkManager is running but not answering yet. Try again in a moment.");
    case kErrorNoAnswer:
        return QStringLiteral("NetworkManager did not answer in time. It may still be busy with the request.");
    case kErrorNoEditor:
        return QStringLiteral("No connection editor is installed. Use nmcli to create or edit dial-up connections.");
    default:
        break;
    }
    if (code >= kDeviceReasonBase && code < kActiveReasonBase) {
        const std::uint32_t reason = code - kDeviceReasonBase;
        for (const auto &[number, text] : kDeviceReasons)
            if (number == reason)
                return QString::fromLatin1(text);
        return QStringLiteral("NetworkManager stopped the device (reason %1).").arg(reason);
    }
    if (code >= kActiveReasonBase && code < kActiveReasonBase + 1000) {
        const std::uint32_t reason = code - kActiveReasonBase;
        if (reason < kActiveReasons.size() && *kActiveReasons[reason] != '\0')
            return QString::fromLatin1(kActiveReasons[reason]);
        return QStringLiteral("NetworkManager ended the connection (reason %1).").arg(reason);
    }
    return {};
}

} // namespace nm
