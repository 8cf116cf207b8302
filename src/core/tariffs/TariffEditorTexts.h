#pragma once

#include "core/store/Tariff.h"

#include <QLocale>
#include <QString>

#include <cstdint>

// The texts the tariff editor and its grid show for a record's codes. A code
// outside its range (a damaged record) reads as a single blank.

QString unitKindText(std::uint8_t unitKind); // "Per Minute", "Per Second", "Per Pulse"
QString chargeKindText(std::uint8_t chargeKind); // "Incremental", "Single"
QString monthText(std::uint32_t month); // "January" .. "December"

// "st", "nd", "rd" or "th" for a day of the month.
QString daySuffix(std::uint32_t day);
QString dayWithSuffix(std::uint32_t day); // "22nd"

// The days of a day set (Monday 1 ... Sunday 64), Monday first: each of
// Monday to Saturday with a blank after it, then "Sun" without one.
QString daysLabel(std::uint32_t daySet);

// The grid's "Applies to" cell of a record.
QString appliesToText(const Tariff &record);

// An amount as the editor's money fields show it: thousands separators and
// two decimals, or up to four when the amount has them, so that saving a
// tariff unchanged keeps a rate such as 0.002 per second.
QString moneyFieldText(MoneyValue amount, const QLocale &locale = QLocale());

// A money column's header: "Unit Cost (EUR)", or the caption alone when
// there is no currency symbol, never empty brackets.
QString moneyHeaderText(const QString &caption, const QString &currencyText);
