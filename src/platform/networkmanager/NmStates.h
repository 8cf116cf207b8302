#pragma once

#include "core/services/DialUpService.h"

#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <optional>

// NetworkManager's numbers in the dial-up service's terms. Pure functions, so
// the mapping can be checked without a bus.
namespace nm {

// Active connection states.
inline constexpr std::uint32_t kActivating = 1;
inline constexpr std::uint32_t kActivated = 2;
inline constexpr std::uint32_t kDeactivating = 3;
inline constexpr std::uint32_t kDeactivated = 4;

// Device states.
inline constexpr std::uint32_t kDeviceDisconnected = 30;
inline constexpr std::uint32_t kDevicePrepare = 40;
inline constexpr std::uint32_t kDeviceConfig = 50;
inline constexpr std::uint32_t kDeviceNeedAuth = 60;
inline constexpr std::uint32_t kDeviceIpConfig = 70;
inline constexpr std::uint32_t kDeviceIpCheck = 80;
inline constexpr std::uint32_t kDeviceSecondaries = 90;
inline constexpr std::uint32_t kDeviceActivated = 100;
inline constexpr std::uint32_t kDeviceDeactivating = 110;
inline constexpr std::uint32_t kDeviceFailed = 120;

// The service's "Projected" state: addresses agreed.
inline constexpr std::uint32_t kProjected = 18;

// Error codes of this backend. Reasons reported by NetworkManager are carried
// as a base plus the reason number, so errorText() can name them later.
inline constexpr dialup::ErrorCode kErrorNotRunning = dialup::kErrorServiceStopped;
inline constexpr dialup::ErrorCode kErrorNoSuchEntry = 30002;
inline constexpr dialup::ErrorCode kErrorNoSuchConnection = 30003;
inline constexpr dialup::ErrorCode kErrorNotPermitted = 30004;
inline constexpr dialup::ErrorCode kErrorNoEditor = 30005;
inline constexpr dialup::ErrorCode kErrorRequestFailed = 30006; // text kept from the last refusal
inline constexpr dialup::ErrorCode kErrorNotAnswering = dialup::kErrorServiceNotAnswering;
inline constexpr dialup::ErrorCode kErrorNoAnswer = 30008; // one request went unanswered
inline constexpr dialup::ErrorCode kDeviceReasonBase = 31000;
inline constexpr dialup::ErrorCode kActiveReasonBase = 32000;

struct DeviceState {
    std::uint32_t state = 0;
    std::uint32_t reason = 0;
};

// The status of one active connection, from its own state and that of its
// first device (none while NetworkManager has not yet picked one).
dialup::ConnectionStatus connectionStatus(
    std::uint32_t activeState, std::uint32_t activeReason, std::optional<DeviceState> device);

// Whether a saved connection's settings make it a dial-up entry: the modem,
// PPPoE, ADSL and Bluetooth dial-up kinds, and anything marked metered.
bool isDialUpEntry(const QMap<QString, QVariantMap> &settings);

// The user's text for one of this backend's error codes; empty when unknown.
QString errorText(dialup::ErrorCode code);

} // namespace nm
