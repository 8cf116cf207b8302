#pragma once

#include "core/reports/CallReport.h"

#include <QString>

// Report rows as text for people (aligned, with the currency text), as CSV
// and as JSON. In CSV and JSON money is a plain decimal exact to 1/10000 and
// JSON carries it as a string, so that nothing is lost to floating point.

enum class ReportFormat { Text, Csv, Json };

// "-12.0001", "0.45", "3.00": at least two decimals, the rest only as needed.
QString plainMoneyText(MoneyValue amount);

// One field as CSV holds it: quoted when it has a comma, quote or line break;
// a text that a spreadsheet would take for a formula ("=", "+", "-", "@",
// a tab or a carriage return first) gets a leading apostrophe, a plain
// number does not.
QString csvField(const QString &text);

// `repriced` adds the columns repriced and difference (repriced minus cost).
QString formatCalls(const QList<ReportCall> &calls, ReportFormat format, bool repriced, const QString &currencyText);
// Text form ends with the total row and draws a bar of '#' per row for `bars`.
QString formatSummary(
    const QList<SummaryRow> &rows, ReportFormat format, bool repriced, bool bars, const QString &currencyText);
