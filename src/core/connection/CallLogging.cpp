#include "core/connection/CallLogging.h"

#include "core/store/DateTimeValue.h"

#include <algorithm>
#include <cstring>

namespace {

void markUnused(CallRecord *first, CallRecord *last)
{
    std::memset(static_cast<void *>(first), 0xFF, std::size_t(last - first) * sizeof(CallRecord));
}

} // namespace

LogRoom makeRoomForCall(CallLogTable &log, CallVolumeTable &volumes, int archiveBatch)
{
    LogRoom room;
    if (log.Count < kMaxLogRecords)
        return room;
    CallRecord *begin = log.records;
    CallRecord *end = log.records + kMaxLogRecords;

    // Deleted calls and unused slots are skipped by every reader: nothing is
    // lost. Damaged calls stay, as every other record does.
    int kept = 0;
    for (int slot = 0; slot < kMaxLogRecords; ++slot) {
        if (!isCallSlot(log.records[slot]))
            continue;
        log.records[kept] = log.records[slot];
        volumes.records[kept] = volumes.records[slot];
        ++kept;
    }
    if (kept != kMaxLogRecords) {
        room.compacted = kMaxLogRecords - kept;
        markUnused(begin + kept, end);
        std::fill(volumes.records + kept, volumes.records + kMaxLogRecords, CallVolume {});
        log.Count = std::int32_t(kept);
        return room;
    }

    const int moved = std::clamp(archiveBatch, 1, kMaxLogRecords);
    room.archived = QByteArray(reinterpret_cast<const char *>(begin), qsizetype(moved) * qsizetype(sizeof(CallRecord)));
    room.archivedVolumes.assign(volumes.records, volumes.records + moved);
    std::memmove(static_cast<void *>(begin), begin + moved, std::size_t(kMaxLogRecords - moved) * sizeof(CallRecord));
    std::copy(volumes.records + moved, volumes.records + kMaxLogRecords, volumes.records);
    markUnused(end - moved, end);
    std::fill(volumes.records + kMaxLogRecords - moved, volumes.records + kMaxLogRecords, CallVolume {});
    log.Count = kMaxLogRecords - moved;
    return room;
}

void writeCallRecord(CallRecord &record, const FinishedCall &call)
{
    const MomentBytes start = momentBytes(call.start);
    const MomentBytes end = momentBytes(call.end);
    record.StartDay = start.day;
    record.StartMonth = start.month;
    record.StartYear = start.year;
    record.StartHour = start.hour;
    record.StartMinute = start.minute;
    record.StartSecond = start.second;
    record.EndDay = end.day;
    record.EndMonth = end.month;
    record.EndYear = end.year;
    record.EndHour = end.hour;
    record.EndMinute = end.minute;
    record.EndSecond = end.second;
    record.ProviderIndex = call.providerIndex;
    record.DurationSeconds = call.seconds;
    record.Cost = call.cost;
    record.TariffId = call.tariffId;
}
