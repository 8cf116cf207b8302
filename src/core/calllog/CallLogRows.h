#pragma once

#include "core/store/Records.h"

#include <QList>

// The provider filter's value that shows every provider's calls.
inline constexpr int kAllProviders = 999;

// Indices into the log of the calls the grid shows for `filter` (a provider
// index or kAllProviders), in table order. Grid row r (counted from 1, row 0
// being the header) shows the record at index r - 1 of the list; edit and
// delete find their records by this same numbering.
QList<int> shownCalls(const CallLogTable &log, int filter);
