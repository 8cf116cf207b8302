#pragma once

#include "core/store/CallVolume.h"
#include "core/store/CallVolumeFile.h"
#include "core/store/Records.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstring>
#include <vector>

// Fills the head of the log with `calls` five-minute calls spread over
// 2026, shared out among the first `providers` providers.
inline void fillLogWithCalls(CallLogTable &log, int calls, int providers)
{
    for (int i = 0; i < calls; ++i) {
        CallRecord &r = log.records[i];
        std::memset(&r, 0, sizeof r);
        r.StartDay = r.EndDay = std::uint8_t(1 + i % 28);
        r.StartMonth = r.EndMonth = std::uint8_t(1 + i % 12);
        r.StartYear = r.EndYear = 26;
        r.StartHour = r.EndHour = std::uint8_t(i % 24);
        r.EndMinute = 5;
        r.ProviderIndex = std::uint8_t(i % providers);
        r.DurationSeconds = 300;
        r.Cost = 4500;
    }
    log.Count = calls;
}

// Log.volume.data for the log's `calls`, none of their bytes counted. Without
// it the program stops at start-up to say so, and a measure would time that.
inline bool writeUnknownVolumes(const QString &folder, int calls)
{
    const std::vector<CallVolume> volumes(std::size_t(std::max(calls, 0)));
    QFile file(QDir(folder).filePath(callvolumefile::kLogFile));
    const QByteArray bytes = callvolumefile::serialise(volumes.data(), qsizetype(volumes.size()));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
