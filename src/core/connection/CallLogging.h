#pragma once

#include "core/store/CallVolume.h"
#include "core/store/Records.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <vector>

// Putting a finished call into the call log, which never grows past its slots.

// Oldest calls moved out of a full log at a time, so that the archive is not
// rewritten at every call once the log has filled.
inline constexpr int kArchiveBatch = 1024;

struct LogRoom {
    int compacted = 0; // slots of deleted calls given back
    QByteArray archived; // the oldest calls taken out, 32 bytes each, oldest first
    std::vector<CallVolume> archivedVolumes; // their volumes, in the same order
};

// Frees at least one slot of a full log, keeping the calls in order: first by
// dropping the slots of deleted calls, and only when there are none by
// taking out the oldest `archiveBatch` calls for the archive. Freed slots
// become unused slots. A log that is not full is left alone. The volumes
// move with their calls; a freed slot's volume is unknown.
LogRoom makeRoomForCall(CallLogTable &log, CallVolumeTable &volumes, int archiveBatch = kArchiveBatch);

struct FinishedCall {
    QDateTime start;
    QDateTime end;
    std::uint8_t providerIndex = 0;
    std::uint32_t seconds = 0;
    std::int64_t cost = 0;
    std::uint8_t tariffId = 0;
};

// Writes the call's fields into the record; the unused bytes keep what the slot held.
void writeCallRecord(CallRecord &record, const FinishedCall &call);
