#pragma once

#include "core/store/Records.h"
#include "core/store/Tariff.h"

#include "core/reports/CallReport.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <span>

// What the call log window exports, reports and charts: the calls of its
// provider filter (a provider index or kAllProviders).
struct CallLogView {
    const CallLogTable &log;
    const ProviderTable &providers;
    const TariffTable &tariffs;
    int filter;
    QDate today; // places the two-digit years in their century
    std::span<const CallRecord> archived = {}; // calls moved out of a full log, oldest first
    // The bytes of the log's slots and of the archived calls, in step with them.
    std::span<const CallVolume> volumes = {};
    std::span<const CallVolume> archivedVolumes = {};
};

// The calls the window lists (the log's), oldest first, as report rows.
QList<ReportCall> shownReportCalls(const CallLogView &view);
// The archive's calls and the log's for the filter, oldest first: the chart
// and the reports count every call, not only those still listed.
QList<ReportCall> everyReportCall(const CallLogView &view);

// The calls shown as the report tool writes them in CSV, UTF-8 with a byte
// order mark.
QByteArray shownCallsCsv(const CallLogView &view, const QString &currencyText);

// The first day of every month in which a call of the filter started
// (archived or listed), newest first.
QList<QDate> monthsWithCalls(const CallLogView &view);

// A printable page per provider shown that has calls in the month: the
// calendar month of `month` (its first day) or, without one, the billing
// month that holds today, each provider's from its own month start day.
QString monthReportHtml(const CallLogView &view, const std::optional<QDate> &month, const QString &currencyText);
