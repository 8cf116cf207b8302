#pragma once

#include <QString>

#include <cstdint>

class QPainter;
class QRect;

// The fixed texts shown for call dates, times and durations, and their
// parsing. Other code compares these texts, so their forms are exact.

// Characters first..last, 1-based and inclusive; empty when last < first.
QString CopyRange(const QString &text, int first, int last);

QString CallDateText(std::uint8_t day, std::uint8_t month, std::uint8_t year); // "05/03/01"
QString CallTimeText(std::uint8_t hour, std::uint8_t minute, std::uint8_t second);

// More hour digits when needed; wide enough for every unsigned 32-bit count.
QString LongDurationText(std::int64_t seconds); // "0001:01:01"
QString ShortDurationText(std::int64_t seconds); // "01:01:01"; also times of day

// Seconds from the fields cut out by position; 0 when any field is not a number.
std::int32_t ParseLongDuration(const QString &text); // hours 1-4, minutes 6-7, seconds 9-10
std::int32_t ParseShortDuration(const QString &text); // hours 1-2, minutes 4-5, seconds 7-8

// Right-aligned text on one line within the cell.
void DrawCellTextRight(QPainter &painter, const QRect &cell, const QString &text);
