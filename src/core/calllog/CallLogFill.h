#pragma once

#include "core/calllog/CallStatistics.h"
#include "core/store/Records.h"

#include <QDate>
#include <QList>

// What one refill of the call log window works out: the rows for the
// filter, their statistics, and (as a side effect) every provider's Today,
// Month and Total counters rebuilt from all calls whatever the filter.
struct CallLogFill {
    QList<int> rows; // log indices, see shownCalls
    CallStatistics statistics;
};

CallLogFill rebuildCallLog(ProviderTable &providers, const CallLogTable &log, int filter, const QDate &today);
