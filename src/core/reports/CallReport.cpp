#include "core/reports/CallReport.h"

#include "core/pricing/CallPrice.h"
#include "core/pricing/TariffSelection.h"
#include "core/reports/DataRepricing.h"
#include "core/store/Money.h"
#include "core/tariffs/TariffIds.h"

#include <QDateTime>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

// `value` (not negative) zero-padded to `width` digits, as arg(value, width, 10, '0') writes it:
// a report formats tens of thousands of these, and arg() is what made it slow.
void appendPadded(QString &text, int value, int width)
{
    char digits[12];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (int pad = count; pad < width; ++pad)
        text += QLatin1Char('0');
    while (count > 0)
        text += QLatin1Char(digits[--count]);
}

// `century` is today's year less its last two digits, worked out once per report.
CallStamp stampOf(std::uint8_t day, std::uint8_t month, std::uint8_t year, std::uint8_t hour, std::uint8_t minute,
    std::uint8_t second, int century)
{
    return { century + year, month, day, hour, minute, second };
}

QString tariffText(const TariffTable &tariffs, std::uint8_t id)
{
    const int index = TariffDBFind(tariffs, id);
    return index == kNoTariffWithId ? QString::number(id) : tariffs.records[index].Name.text();
}

QString keyOf(const ReportCall &call, ReportGrouping grouping)
{
    switch (grouping) {
    case ReportGrouping::Days:
        return call.start.dateText();
    case ReportGrouping::Months:
        return call.start.monthText();
    case ReportGrouping::Providers:
        return call.provider;
    case ReportGrouping::Tariffs:
        return call.tariff;
    }
    return {};
}

void addTo(SummaryRow &row, const SummaryRow &more)
{
    row.calls += more.calls;
    row.seconds += more.seconds;
    row.cost = addMoney(row.cost, more.cost);
    row.repriced = addMoney(row.repriced, more.repriced);
    row.unpriced += more.unpriced;
    row.dataNotCounted += more.dataNotCounted;
    if (more.bytesIn >= 0 && more.bytesOut >= 0) {
        row.bytesIn = addBytes(std::max<qint64>(row.bytesIn, 0), more.bytesIn);
        row.bytesOut = addBytes(std::max<qint64>(row.bytesOut, 0), more.bytesOut);
    }
}

// Whether the local clocks change between the day before and the day after a
// date, asked of the time zone once per date.
class ClockChanges {
public:
    bool on(const QDate &date)
    {
        const auto known = m_days.constFind(date.toJulianDay());
        if (known != m_days.constEnd())
            return *known;
        const QTime noon(12, 0);
        const bool changes
            = QDateTime(date.addDays(-1), noon).offsetFromUtc() != QDateTime(date.addDays(1), noon).offsetFromUtc();
        m_days.insert(date.toJulianDay(), changes);
        return changes;
    }

private:
    QHash<qint64, bool> m_days;
};

} // namespace

QString reportDurationText(std::int64_t seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(int(seconds / 60 % 60), 2, 10, QLatin1Char('0'))
        .arg(int(seconds % 60), 2, 10, QLatin1Char('0'));
}

qint64 addBytes(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

QString reportDataText(std::int64_t bytes)
{
    bytes = std::max<std::int64_t>(bytes, 0);
    // Any byte shows: a call of a few bytes is not "0 KB".
    const std::int64_t kilobytes = bytes / 1000 + (bytes % 1000 != 0 ? 1 : 0);
    if (kilobytes < 1000)
        return QStringLiteral("%1 KB").arg(kilobytes);
    // Each unit until its figure, as written, stays under 1000: 999.96 MB is "1.00 GB".
    static constexpr std::array<std::pair<const char *, int>, 3> kUnits { { { "MB", 1 }, { "GB", 2 }, { "TB", 2 } } };
    double value = double(bytes) / 1e6;
    for (std::size_t unit = 0;; ++unit) {
        const auto [name, decimals] = kUnits[unit];
        const QString figure = QString::number(value, 'f', decimals);
        if (unit + 1 == kUnits.size() || figure.toDouble() < 1000)
            return figure + QLatin1Char(' ') + QLatin1String(name);
        value /= 1000;
    }
}

QString CallStamp::dateText() const
{
    QString text;
    text.reserve(10);
    appendPadded(text, year, 4);
    text += QLatin1Char('-');
    appendPadded(text, month, 2);
    text += QLatin1Char('-');
    appendPadded(text, day, 2);
    return text;
}

QString CallStamp::monthText() const
{
    QString text;
    text.reserve(7);
    appendPadded(text, year, 4);
    text += QLatin1Char('-');
    appendPadded(text, month, 2);
    return text;
}

QString CallStamp::dateTimeText() const
{
    QString text = dateText();
    text.reserve(19);
    text += QLatin1Char(' ');
    appendPadded(text, hour, 2);
    text += QLatin1Char(':');
    appendPadded(text, minute, 2);
    text += QLatin1Char(':');
    appendPadded(text, second, 2);
    return text;
}

std::vector<CallRecord> allCalls(std::span<const CallRecord> archived, const CallLogTable &log)
{
    const int count = std::clamp(log.Count, 0, kMaxLogRecords);
    std::vector<CallRecord> calls(archived.begin(), archived.end());
    calls.insert(calls.end(), log.records, log.records + count);
    return calls;
}

QList<int> filteredCalls(
    std::span<const CallRecord> calls, const ProviderTable &providers, const ReportFilter &filter, const QDate &today)
{
    const auto keyOfDate = [](const QDate &date) { return date.year() * 10000 + date.month() * 100 + date.day(); };
    const int from = filter.from ? keyOfDate(*filter.from) : 0;
    const int to = filter.to ? keyOfDate(*filter.to) : 99999999;
    QList<int> result;
    const int century = today.year() / 100 * 100;
    for (int i = 0; i < int(calls.size()); ++i) {
        const CallRecord &record = calls[std::size_t(i)];
        if (!isLoggedCall(record))
            continue;
        const int date = stampOf(record.StartDay, record.StartMonth, record.StartYear, 0, 0, 0, century).dateKey();
        if (date < from || date > to)
            continue;
        if (filter.provider
            && (record.ProviderIndex >= kMaxProviders
                || providers.records[record.ProviderIndex].Name.text() != *filter.provider))
            continue;
        result.append(i);
    }
    return result;
}

QList<ReportCall> reportCalls(std::span<const CallRecord> calls, const ProviderTable &providers,
    const TariffTable &tariffs, const QList<int> &indices, const QDate &today, const TariffTable *reprice,
    std::span<const CallVolume> volumes, const VolumePlans *repricePlans)
{
    const std::vector<DataPrice> dataPrices = reprice && repricePlans
        ? repriceData(calls, volumes, providers, *repricePlans, today)
        : std::vector<DataPrice> {};
    QList<ReportCall> rows;
    rows.reserve(indices.size());
    // Each name is decoded once, not once for every call that carries it.
    std::array<std::optional<QString>, 256> tariffNames;
    std::array<std::optional<QString>, kMaxProviders> providerNames;
    ClockChanges clocksChange;
    const int century = today.year() / 100 * 100;
    for (const int index : indices) {
        const CallRecord &record = calls[std::size_t(index)];
        ReportCall row;
        row.index = index;
        row.start = stampOf(record.StartDay, record.StartMonth, record.StartYear, record.StartHour, record.StartMinute,
            record.StartSecond, century);
        row.end = stampOf(record.EndDay, record.EndMonth, record.EndYear, record.EndHour, record.EndMinute,
            record.EndSecond, century);
        row.seconds = record.DurationSeconds;
        row.cost = record.Cost;
        if (std::size_t(index) < volumes.size())
            row.volume = volumes[std::size_t(index)];
        std::optional<QString> &tariff = tariffNames[record.TariffId];
        if (!tariff)
            tariff = tariffText(tariffs, record.TariffId);
        row.tariff = *tariff;
        row.tariffId = record.TariffId;
        if (record.ProviderIndex < kMaxProviders) {
            std::optional<QString> &provider = providerNames[record.ProviderIndex];
            if (!provider)
                provider = providers.records[record.ProviderIndex].Name.text();
            row.provider = *provider;
        }
        if (reprice) {
            const QDate date(row.start.year, row.start.month, row.start.day);
            const QTime time(row.start.hour, row.start.minute, row.start.second);
            std::optional<CallPrice> price;
            if (date.isValid() && time.isValid() && !clocksChange.on(date)) {
                price = priceCall(*reprice, tariffMomentOf(date, time), record.DurationSeconds);
            } else {
                // A start that names no real moment has no tariff in force; on
                // a day the clocks change, the start is placed as local time places it.
                const QDateTime start(date, time);
                if (start.isValid())
                    price = priceCall(*reprice, start, record.DurationSeconds);
            }
            if (price) {
                row.repricedUnderTariff = price->tariffIndex != kNoTariff;
                row.repriced = price->cost;
            }
            if (std::size_t(index) < dataPrices.size()) {
                const DataPrice &data = dataPrices[std::size_t(index)];
                row.repriced = addMoney(row.repriced, data.cost);
                row.dataNotCounted = data.planned && !data.counted;
            }
        }
        rows.append(row);
    }
    // Calls are logged as they end, and an edited or restored call may sit anywhere.
    std::stable_sort(rows.begin(), rows.end(),
        [](const ReportCall &a, const ReportCall &b) { return a.start.sortKey() < b.start.sortKey(); });
    return rows;
}

DateSpan billingMonth(int monthStartDay, const QDate &today)
{
    const QDate thisMonth(today.year(), today.month(), 1);
    const auto startIn = [monthStartDay](const QDate &month) {
        return QDate(month.year(), month.month(), std::clamp(monthStartDay, 1, month.daysInMonth()));
    };
    const QDate month = startIn(thisMonth) <= today ? thisMonth : thisMonth.addMonths(-1);
    return { startIn(month), startIn(month.addMonths(1)).addDays(-1) };
}

QList<SummaryRow> summarizeCalls(const QList<ReportCall> &calls, ReportGrouping grouping)
{
    QMap<QString, SummaryRow> rows;
    if (grouping == ReportGrouping::Days || grouping == ReportGrouping::Months) {
        // Grouped by the date's numbers first, so that each text is made once
        // per day or month rather than once per call; different numbers
        // always make different texts, so the groups are the same.
        QHash<quint64, SummaryRow> byDate;
        for (const ReportCall &call : calls) {
            const int day = grouping == ReportGrouping::Days ? call.start.day : 0;
            const quint64 key = quint64(std::uint32_t(call.start.year)) << 16 | quint64(call.start.month & 0xFF) << 8
                | quint64(day & 0xFF);
            addTo(byDate[key],
                { {}, 1, call.seconds, call.cost, call.repriced, call.repricedUnderTariff ? 0 : 1,
                    call.dataNotCounted ? 1 : 0, call.volume.bytesIn, call.volume.bytesOut });
        }
        for (auto group = byDate.cbegin(); group != byDate.cend(); ++group) {
            const CallStamp stamp { int(group.key() >> 16), int(group.key() >> 8 & 0xFF), int(group.key() & 0xFF) };
            SummaryRow row = group.value();
            row.key = grouping == ReportGrouping::Days ? stamp.dateText() : stamp.monthText();
            rows.insert(row.key, row);
        }
        return rows.values();
    }
    // Tariffs by (name, id), so that two of one name stay two rows.
    QMap<std::pair<QString, int>, SummaryRow> byKey;
    for (const ReportCall &call : calls) {
        const QString key = keyOf(call, grouping);
        const int id = grouping == ReportGrouping::Tariffs ? call.tariffId : 0;
        SummaryRow &row = byKey[{ key, id }];
        row.key = key;
        addTo(row,
            { key, 1, call.seconds, call.cost, call.repriced, call.repricedUnderTariff ? 0 : 1,
                call.dataNotCounted ? 1 : 0, call.volume.bytesIn, call.volume.bytesOut });
    }
    QMap<QString, int> perKey;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        ++perKey[it.key().first];
    QList<SummaryRow> result;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it) {
        SummaryRow row = it.value();
        if (perKey.value(row.key) > 1)
            row.key += QStringLiteral(" (id %1)").arg(it.key().second);
        result.append(row);
    }
    return result;
}

SummaryRow summaryTotal(const QList<SummaryRow> &rows)
{
    SummaryRow total;
    total.key = QStringLiteral("Total");
    for (const SummaryRow &row : rows)
        addTo(total, row);
    return total;
}
