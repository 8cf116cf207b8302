#pragma once

// The platform's dial-up networking service, in our own types. This header
// uses the C++ standard library only, so that backends written against the
// bare platform API (without Qt) can implement it. Text is UTF-8.

#include <cstdint>
#include <expected>
#include <functional>
#include <string>
#include <vector>

namespace dialup {

using ErrorCode = std::uint32_t; // 0 never appears as an error
using ConnectionHandle = std::uint32_t;
using NativeWindow = std::uintptr_t; // the owner window's native id, 0 for none

// The user closed one of the service's own entry dialogs without saving.
inline constexpr ErrorCode kErrorCancelled = 1223;

// The service itself is away: stopped, or not answering yet. A line that was
// up may still be up when it is back, so what it said last is not contradicted.
inline constexpr ErrorCode kErrorServiceStopped = 30001;
inline constexpr ErrorCode kErrorServiceNotAnswering = 30007;
constexpr bool isServiceAway(ErrorCode code)
{
    return code == kErrorServiceStopped || code == kErrorServiceNotAnswering;
}

// Connection states, as the service numbers them.
inline constexpr std::uint32_t kOpenPort = 0;
inline constexpr std::uint32_t kPortOpened = 1;
inline constexpr std::uint32_t kConnectDevice = 2;
inline constexpr std::uint32_t kDeviceConnected = 3;
inline constexpr std::uint32_t kAuthenticate = 5;
inline constexpr std::uint32_t kAuthenticated = 14;
inline constexpr std::uint32_t kInteractive = 4096;
inline constexpr std::uint32_t kConnected = 8192;
inline constexpr std::uint32_t kDisconnected = 8193;

struct ActiveConnection {
    ConnectionHandle handle = 0;
    std::string entryName;
};

struct ConnectionStatus {
    std::uint32_t state = 0;
    ErrorCode error = 0;
};

// A connection's byte counters as the service keeps them. They may wrap or
// restart (an interface that went down and up); the caller smooths that.
struct ByteCounters {
    std::uint64_t received = 0;
    std::uint64_t sent = 0;
    bool fromConnect = false; // the counters began at zero with this connection
};

// A service or connection that keeps no byte counters.
inline constexpr ErrorCode kErrorNoCounters = 30100;

struct DialParams {
    std::string userName;
    std::string password; // empty unless passwordSaved
    bool passwordSaved = false;
};

// Called at every state change of a dial this program started, always on the
// user-interface thread.
using DialNotifier = std::function<void(std::uint32_t state, ErrorCode error)>;
// Called when a hang-up the service took on is refused later; the line stays up.
using HangUpRefusal = std::function<void(ConnectionHandle handle, ErrorCode error)>;

class DialUpService {
public:
    virtual ~DialUpService() = default;

    // Every active connection, the first one being the one the program watches.
    [[nodiscard]] virtual std::expected<std::vector<ActiveConnection>, ErrorCode> enumConnections() = 0;
    [[nodiscard]] virtual std::expected<ConnectionStatus, ErrorCode> connectionStatus(ConnectionHandle handle) = 0;
    // Never blocks: the tick asks for it once a second.
    [[nodiscard]] virtual std::expected<ByteCounters, ErrorCode> connectionBytes(ConnectionHandle)
    {
        return std::unexpected(kErrorNoCounters);
    }
    // Every phonebook entry name, in the service's order.
    [[nodiscard]] virtual std::expected<std::vector<std::string>, ErrorCode> enumEntries() = 0;
    [[nodiscard]] virtual std::expected<DialParams, ErrorCode> entryDialParams(const std::string &entry) = 0;
    // Starts dialling and returns at once; progress arrives through the notifier.
    [[nodiscard]] virtual std::expected<ConnectionHandle, ErrorCode> dial(
        const std::string &entry, const std::string &userName, const std::string &password, DialNotifier notifier)
        = 0;
    // Success means the service took the request on; a service that answers
    // later reports a refusal through the handler below. The line is down
    // once the service lists it so.
    [[nodiscard]] virtual std::expected<void, ErrorCode> hangUp(ConnectionHandle handle) = 0;
    // Services that answer at once never call it.
    virtual void setHangUpRefusalHandler(HangUpRefusal) { }
    virtual std::string errorText(ErrorCode code) = 0;
    // The service's own dialogs; an error when nothing was created or edited.
    [[nodiscard]] virtual std::expected<void, ErrorCode> createEntry(NativeWindow owner) = 0;
    [[nodiscard]] virtual std::expected<void, ErrorCode> editEntry(NativeWindow owner, const std::string &entry) = 0;
};

} // namespace dialup
