#pragma once

#include "core/store/Values.h"

#include <QLocale>
#include <QString>

#include <expected>

// Money texts. An amount is shown to two decimals, rounded half away from
// zero from its 1/10000 units; separators come from the given locale.

// Two decimals with thousands separators ("1,234.50").
QString amountText(MoneyValue amount, const QLocale &locale = QLocale());
// As amountText, but exact: four decimals when the amount has digits beyond
// the cents ("0.0125", "999,999,999.9999"); for fields that must read back as
// the amount they show.
QString exactAmountText(MoneyValue amount, const QLocale &locale = QLocale());
// As amountText, right-aligned in `width` characters ("%18.2n" and the like).
QString paddedAmountText(MoneyValue amount, int width, const QLocale &locale = QLocale());
// Two decimals without thousands separators, right-aligned in `width` ("%12.2f").
QString fixedAmountText(MoneyValue amount, int width, const QLocale &locale = QLocale());
// The amount after the currency text in force ("£ 1.50"); a minus sign leads.
// A currency text of blanks only (no symbol) gives the amount alone.
QString moneyText(MoneyValue amount, const QString &currencyText, const QLocale &locale = QLocale());

enum class MoneyParseError {
    NotAnAmount,
    TooLarge,
};

// A decimal amount typed by the user, to the nearest 1/10000 (halves to
// even). Accepts the locale's decimal separator and '.', thousands
// separators, a sign and blanks around the number.
[[nodiscard]] std::expected<MoneyValue, MoneyParseError> parseMoney(
    const QString &text, const QLocale &locale = QLocale());

// a + b, saturating at the limits of MoneyValue: a damaged record's amount
// must never overflow a running total.
MoneyValue addMoney(MoneyValue a, MoneyValue b);

// value × numerator ÷ denominator, rounded half away from zero, without
// overflow for any stored amount; saturates at the limits of MoneyValue.
MoneyValue scaleMoney(MoneyValue value, std::int64_t numerator, std::int64_t denominator);
