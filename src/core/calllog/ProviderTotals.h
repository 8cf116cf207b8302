#pragma once

#include "core/store/Records.h"

#include <QDate>
#include <QList>

#include <span>

// Rebuilds every provider's Today, Month and Total counters from the whole
// log: Today holds the calls that started on `today`, Month those that
// started from 31 days before `today` up to `today`, Total all of them.
// Deleted calls and slots never used are skipped, and so are calls of a
// provider index the table does not hold. Any byte values are safe.
// Today's counters are stamped with `today`. The calls moved to the archive
// (`archived`, oldest first) count as the log's do, so that a full log moving
// its oldest calls out never lowers a counter.
void UpdateProviderTotals(
    ProviderTable &providers, const CallLogTable &log, const QDate &today, std::span<const CallRecord> archived = {});
// The same, counting only the log's calls at `loggedCalls`, indices of calls
// already known to be logged (see shownCalls), so a refill checks each call once.
void UpdateProviderTotals(ProviderTable &providers, const CallLogTable &log, const QList<int> &loggedCalls,
    const QDate &today, std::span<const CallRecord> archived = {});

// Today's counters belong to `TodayDate`: on any other day they start again
// from zero, stamped with `today`, so no window or file shows a day gone by.
void restartToday(Provider &provider, const QDate &today);
void restartToday(ProviderTable &providers, const QDate &today);
