#pragma once

#include "core/store/Values.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <cstdint>

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

// "dd/mm/yy", the program's short date text.
QString shortDateText(const QDate &date);
// Parses "dd/mm/yy" (or a four-digit year); two-digit years in the century of `today`.
QDate parseShortDate(const QString &text, const QDate &today);
