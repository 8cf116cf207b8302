#pragma once

#include "core/services/DialUpService.h"
#include "platform/simdialup/SimEntry.h"

#include <QString>

#include <cstdint>
#include <vector>

// One simulated connection. Everything about its course is fixed when it is
// dialled, and its state at any moment follows from the time alone, so every
// process sees it progress, connect and drop, even after the process that
// dialled it has gone.
struct SimConnection {
    // How long a dropped line stays listed as disconnected before it vanishes.
    static constexpr qint64 kDisconnectedMilliseconds = 3000;
    static constexpr qint64 kMaxStageMilliseconds = 60000;
    static constexpr qint64 kMaxDropAfterMilliseconds = qint64(SimEntry::kMaxDropAfterSeconds) * 1000;

    enum class Phase { Dialling, Failed, Connected, Disconnected, Gone };

    struct Moment {
        Phase phase = Phase::Dialling;
        dialup::ConnectionStatus status;
    };

    dialup::ConnectionHandle handle = 0;
    QString entryName;
    qint64 ownerPid = 0; // the process that dialled
    // Milliseconds on the system's monotonic clock, shared by every process
    // until the machine restarts: a wall clock set back or forward changes
    // no line's age.
    qint64 dialStartMs = 0;
    qint64 stageMs = 1000; // time spent in each state before connecting
    std::uint32_t failState = 0; // where the dial fails, when failError is set
    dialup::ErrorCode failError = 0;
    qint64 dropAfterMs = 0; // 0: the line stays up until hung up
    qint64 bytesPerSecondIn = 0;
    qint64 bytesPerSecondOut = 0;

    // The course of a dial of that entry with that account.
    static SimConnection plan(const SimEntry &entry, const QString &userName, const QString &password);

    Moment at(qint64 nowMs) const;
    // The bytes received and sent by that moment: the rates over the time
    // connected, whole bytes, frozen once the line dropped.
    dialup::ByteCounters bytesAt(qint64 nowMs) const;
    // Every state change from the dial up to that moment, in order: what the
    // dialling program is told.
    std::vector<dialup::ConnectionStatus> reportsUntil(qint64 nowMs) const;
};
