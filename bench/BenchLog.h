#pragma once

#include "core/store/Records.h"

#include <cstring>

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
