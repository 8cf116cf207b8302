#pragma once

#include "tariffs/Tariff.h"

#include <QString>

#include <cstdint>

// The texts the tariff editor and its grid show for a record's codes. A code
// outside its range (a damaged record) reads as a single blank.

QString unitKindText(std::uint8_t unitKind);       // "Per Minute", "Per Second", "Per Pulse"
QString chargeKindText(std::uint8_t chargeKind);   // "Incremental", "Single"
QString monthText(std::uint32_t month);            // "January" .. "December"

// "st", "nd", "rd" or "th" for a day of the month.
QString daySuffix(std::uint32_t day);
QString dayWithSuffix(std::uint32_t day);          // "22nd"

// The days of a day set (Monday 1 ... Sunday 64), Monday first: each of
// Monday to Saturday with a blank after it, then "Sun" without one.
QString daysLabel(std::uint32_t daySet);

// The grid's "Applies to" cell of a record.
QString appliesToText(const Tariff &record);
