#include "platform/simdialup/SimConnection.h"

#include "platform/simdialup/SimErrors.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The states a dial walks through on its way to connected.
constexpr std::array<std::uint32_t, 7> kStages = {
    dialup::kOpenPort,
    dialup::kPortOpened,
    dialup::kConnectDevice,
    dialup::kDeviceConnected,
    dialup::kAuthenticate,
    dialup::kAuthenticated,
    dialup::kConnected,
};

constexpr qint64 stageIndex(std::uint32_t state)
{
    for (std::size_t i = 0; i < kStages.size(); ++i) {
        if (kStages[i] == state)
            return qint64(i);
    }
    return 0;
}

constexpr qint64 kConnectedIndex = qint64(kStages.size()) - 1;

} // namespace

SimConnection SimConnection::plan(const SimEntry &entry, const QString &userName, const QString &password)
{
    SimConnection connection;
    connection.entryName = entry.name;
    const double stage = std::clamp(entry.stageSeconds, 0.0, SimEntry::kMaxStageSeconds);
    connection.stageMs = std::isfinite(stage) ? qint64(std::llround(stage * 1000)) : 1000;
    dialup::ErrorCode error = 0;
    if (!entry.answers)
        error = simdialup::kNoAnswer;
    else if (entry.failWithError != 0)
        error = entry.failWithError;
    else if (userName != entry.userName || password != entry.password)
        error = simdialup::kAuthenticationFailed;
    if (error != 0) {
        connection.failError = error;
        connection.failState = simdialup::isAuthenticationError(error) ? dialup::kAuthenticate : dialup::kConnectDevice;
    } else {
        connection.dropAfterMs = qint64(std::clamp(entry.dropAfterSeconds, 0, SimEntry::kMaxDropAfterSeconds)) * 1000;
        connection.bytesPerSecondIn = std::clamp<qint64>(entry.bytesPerSecondIn, 0, SimEntry::kMaxBytesPerSecond);
        connection.bytesPerSecondOut = std::clamp<qint64>(entry.bytesPerSecondOut, 0, SimEntry::kMaxBytesPerSecond);
    }
    return connection;
}

SimConnection::Moment SimConnection::at(qint64 nowMs) const
{
    // A start ahead of now (a record from before the machine restarted)
    // reads as the moment of dialling.
    const qint64 elapsed = std::max<qint64>(0, nowMs - dialStartMs);
    if (failError != 0) {
        const qint64 failIndex = stageIndex(failState);
        if (elapsed >= (failIndex + 1) * stageMs)
            return { Phase::Failed, { failState, failError } };
    }
    const qint64 connectedAt = kConnectedIndex * stageMs;
    if (elapsed < connectedAt)
        return { Phase::Dialling, { kStages[std::size_t(elapsed / stageMs)], 0 } };
    if (dropAfterMs > 0 && elapsed >= connectedAt + dropAfterMs) {
        if (elapsed < connectedAt + dropAfterMs + kDisconnectedMilliseconds)
            return { Phase::Disconnected, { dialup::kDisconnected, 0 } };
        return { Phase::Gone, { dialup::kDisconnected, 0 } };
    }
    return { Phase::Connected, { dialup::kConnected, 0 } };
}

dialup::ByteCounters SimConnection::bytesAt(qint64 nowMs) const
{
    const qint64 connectedAt = dialStartMs + kConnectedIndex * stageMs;
    qint64 upMs = failError != 0 ? 0 : std::clamp<qint64>(nowMs - connectedAt, 0, kMaxDropAfterMilliseconds * 2);
    if (dropAfterMs > 0)
        upMs = std::min(upMs, dropAfterMs);
    // Rates up to 2^30 over at most 20 days in milliseconds stay far inside 64 bits.
    return { std::uint64_t(bytesPerSecondIn * upMs / 1000), std::uint64_t(bytesPerSecondOut * upMs / 1000), true };
}

std::vector<dialup::ConnectionStatus> SimConnection::reportsUntil(qint64 nowMs) const
{
    const Moment moment = at(nowMs);
    std::vector<dialup::ConnectionStatus> reports;
    qint64 last = kConnectedIndex;
    if (moment.phase == Phase::Dialling)
        last = stageIndex(moment.status.state);
    else if (moment.phase == Phase::Failed)
        last = stageIndex(failState);
    for (qint64 i = 0; i <= last; ++i)
        reports.push_back({ kStages[std::size_t(i)], 0 });
    if (moment.phase == Phase::Failed || moment.phase == Phase::Disconnected || moment.phase == Phase::Gone)
        reports.push_back(moment.status);
    return reports;
}
