#pragma once

#include "core/store/Values.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

// Conversions between Qt's dates and the DateTimeValue of the records
// (days since 30 December 1899 in local time, the fraction the time of day).

DateTimeValue toDateTimeValue(const QDateTime &moment);
DateTimeValue toDateTimeValue(const QDate &date); // time of day zero
QDateTime fromDateTimeValue(DateTimeValue value); // to the whole second
QDate dateOfValue(DateTimeValue value);

// The six date and time bytes of a call record for a moment: day, month,
// two-digit year, hour, minute, second.
struct MomentBytes {
    std::uint8_t day, month, year, hour, minute, second;
};
MomentBytes momentBytes(const QDateTime &moment);

// The date of day/month/two-digit year, the year taken in the century of
// `today`; an invalid date when the bytes name no real day.
QDate dateFromTwoDigitYear(int day, int month, int year, const QDate &today);

// The number of a day of the Gregorian calendar, counted from a fixed day,
// so that two of them subtract to the days between; years 1 to 9999. None
// when the day, month and year name no real day. Plain arithmetic: the log's
// checks and totals count every call with it.
std::optional<std::int64_t> civilDayNumber(int year, int month, int day);

// "dd/mm/yy", the program's short date text.
QString shortDateText(const QDate &date);
// Parses "dd/mm/yy" (or a four-digit year); two-digit years in the century of `today`.
QDate parseShortDate(const QString &text, const QDate &today);
