#pragma once

#include "core/store/Records.h"

#include <QDate>
#include <QList>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <span>

// The eight statistics under the call log grid, over the calls it shows.

inline constexpr int kStatisticCount = 8;

struct CallStatistics {
    int calls = 0;
    MoneyValue costSum = 0;
    // Seconds; 64 bits so that thousands of long (or damaged) calls cannot
    // wrap the sum round to a negative time.
    std::int64_t secondsSum = 0;
    std::int64_t longest = 0;
    std::int64_t shortest = 2147483647;
    int callsToday = 0; // calls that started on today's date
};

// Sums over the records at `rows` (indices into the log, or into `calls`).
CallStatistics callStatistics(const CallLogTable &log, const QList<int> &rows, const QDate &today);
CallStatistics callStatistics(std::span<const CallRecord> calls, const QList<int> &rows, const QDate &today);

// The buttons' captions in button order: "Avg Cost" ... "Total Cost".
const std::array<QString, kStatisticCount> &statisticCaptions();
// What a button's value reads before any call was counted.
const std::array<QString, kStatisticCount> &statisticResetTexts();
// The value texts for calls > 0; money after `currencyText`, durations as
// LongDurationText (a time past its range shows its largest value).
std::array<QString, kStatisticCount> statisticValueTexts(
    const CallStatistics &statistics, const QString &currencyText, const QLocale &locale = QLocale());
