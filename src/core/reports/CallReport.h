#pragma once

#include "core/store/CallVolume.h"
#include "core/store/Records.h"
#include "core/store/Tariff.h"
#include "core/store/VolumePlan.h"

#include <QDate>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Plain rows over the call log for reports, exports and charts. Money is in
// 1/10000, durations in whole seconds.

// "H:MM:SS", hours unbounded.
QString reportDurationText(std::int64_t seconds);
// Bytes added up, stopping at the largest figure rather than wrapping: a
// damaged volume file may hold any number.
qint64 addBytes(qint64 a, qint64 b);
// "820 KB", "412.5 MB", "1.25 GB", "3.40 TB": decimal units as data plans
// count them (an MB is 1,000,000 bytes), in the largest unit under 1000 of it.
QString reportDataText(std::int64_t bytes);

// A call's date and time bytes with the year in full (in the century of
// `today`); impossible dates are kept as the bytes give them.
struct CallStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;

    int dateKey() const { return year * 10000 + month * 100 + day; } // YYYYMMDD, orders by date
    std::int64_t sortKey() const { return std::int64_t(dateKey()) * 1000000 + hour * 10000 + minute * 100 + second; }
    QString dateText() const; // "YYYY-MM-DD"
    QString monthText() const; // "YYYY-MM"
    QString dateTimeText() const; // "YYYY-MM-DD HH:MM:SS"
};

struct ReportCall {
    int index = 0; // into the calls reported on (see allCalls)
    CallStamp start;
    CallStamp end;
    std::uint32_t seconds = 0;
    MoneyValue cost = 0;
    QString tariff; // the tariff's name, or its id when no tariff has it
    std::uint8_t tariffId = 0; // as the record holds it
    QString provider; // the provider's name
    // Under the tariffs compared against; 0 when none was in force.
    // Re-priced, it holds the data's cost too.
    MoneyValue repriced = 0;
    bool repricedUnderTariff = false;
    // Re-priced on a provider with a data plan, its bytes never counted: no data cost.
    bool dataNotCounted = false;
    CallVolume volume; // unknown for calls logged before bytes were counted
};

// Inclusive by the start date; a provider by its exact name.
struct ReportFilter {
    std::optional<QDate> from;
    std::optional<QDate> to;
    std::optional<QString> provider;
};

// Every call kept: the archive's (calls moved out of a full log), then the
// log's records 0..Count-1. What reports over a period or all time walk.
std::vector<CallRecord> allCalls(std::span<const CallRecord> archived, const CallLogTable &log);

// Indices into `calls` of the sound calls that pass the filter, in order.
QList<int> filteredCalls(
    std::span<const CallRecord> calls, const ProviderTable &providers, const ReportFilter &filter, const QDate &today);

// The rows of the calls at `indices`, sorted by start, oldest first (calls
// that start together keep their order); with `reprice`, each call is costed
// again as a live call begun at its start would be under those tariffs, and
// its data under its provider's plan in `repricePlans` (see repriceData).
// `volumes`, when given, holds the volume of each of `calls`.
QList<ReportCall> reportCalls(std::span<const CallRecord> calls, const ProviderTable &providers,
    const TariffTable &tariffs, const QList<int> &indices, const QDate &today, const TariffTable *reprice = nullptr,
    std::span<const CallVolume> volumes = {}, const VolumePlans *repricePlans = nullptr);

// The first and last day of the billing month that holds `today`, for months
// that start on `monthStartDay` (1..31; a day past a month's end is its last day).
struct DateSpan {
    QDate from;
    QDate to;
};
DateSpan billingMonth(int monthStartDay, const QDate &today);

enum class ReportGrouping { Days, Months, Providers, Tariffs };

struct SummaryRow {
    QString key;
    int calls = 0;
    std::int64_t seconds = 0;
    MoneyValue cost = 0;
    MoneyValue repriced = 0;
    int unpriced = 0; // calls re-priced with no tariff in force
    int dataNotCounted = 0; // calls re-priced with a data plan but no bytes counted
    // The bytes of the calls whose volume is known; -1 when none is.
    qint64 bytesIn = -1;
    qint64 bytesOut = -1;
};

// One row per day, month, provider or tariff, ordered by key. Tariffs are
// told apart by id: two of one name are two rows, their keys "Name (id N)".
QList<SummaryRow> summarizeCalls(const QList<ReportCall> &calls, ReportGrouping grouping);
// The sums of the rows, keyed "Total".
SummaryRow summaryTotal(const QList<SummaryRow> &rows);
