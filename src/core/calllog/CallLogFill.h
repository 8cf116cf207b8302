#pragma once

#include "core/calllog/CallStatistics.h"
#include "core/store/Records.h"

#include <QDate>
#include <QList>

#include <span>

// What one refill of the call log window works out: the rows for the
// filter, their statistics, and (as a side effect) every provider's Today,
// Month and Total counters rebuilt from all calls whatever the filter.
// The archive's calls are not listed, but they count in the providers'
// counters, and how many of them the filter takes is told.
struct CallLogFill {
    QList<int> rows; // log indices, see shownCalls
    CallStatistics statistics;
    int archivedCalls = 0; // calls in the archive for the filter
};

CallLogFill rebuildCallLog(ProviderTable &providers, const CallLogTable &log, int filter, const QDate &today,
    std::span<const CallRecord> archived = {});
