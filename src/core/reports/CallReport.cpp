#include "core/reports/CallReport.h"

#include "core/pricing/CallPrice.h"
#include "core/pricing/TariffSelection.h"
#include "core/store/Money.h"
#include "core/tariffs/TariffIds.h"

#include <QDateTime>
#include <QMap>

#include <algorithm>

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

CallStamp stampOf(std::uint8_t day, std::uint8_t month, std::uint8_t year, std::uint8_t hour, std::uint8_t minute,
    std::uint8_t second, const QDate &today)
{
    return { today.year() / 100 * 100 + year, month, day, hour, minute, second };
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
}

} // namespace

QString reportDurationText(std::int64_t seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(int(seconds / 60 % 60), 2, 10, QLatin1Char('0'))
        .arg(int(seconds % 60), 2, 10, QLatin1Char('0'));
}

QString CallStamp::dateText() const
{
    return QStringLiteral("%1-%2-%3").arg(year, 4, 10, QLatin1Char('0')).arg(twoDigits(month), twoDigits(day));
}

QString CallStamp::monthText() const
{
    return QStringLiteral("%1-%2").arg(year, 4, 10, QLatin1Char('0')).arg(twoDigits(month));
}

QString CallStamp::dateTimeText() const
{
    return dateText() + QLatin1Char(' ') + twoDigits(hour) + QLatin1Char(':') + twoDigits(minute) + QLatin1Char(':')
        + twoDigits(second);
}

QList<int> filteredCalls(
    const CallLogTable &log, const ProviderTable &providers, const ReportFilter &filter, const QDate &today)
{
    const auto keyOfDate = [](const QDate &date) { return date.year() * 10000 + date.month() * 100 + date.day(); };
    const int from = filter.from ? keyOfDate(*filter.from) : 0;
    const int to = filter.to ? keyOfDate(*filter.to) : 99999999;
    QList<int> result;
    const int count = std::clamp(log.Count, 0, kMaxLogRecords);
    for (int i = 0; i < count; ++i) {
        const CallRecord &record = log.records[i];
        if (!isLoggedCall(record))
            continue;
        const int date = stampOf(record.StartDay, record.StartMonth, record.StartYear, 0, 0, 0, today).dateKey();
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

QList<ReportCall> reportCalls(const CallLogTable &log, const ProviderTable &providers, const TariffTable &tariffs,
    const QList<int> &indices, const QDate &today, const TariffTable *reprice)
{
    QList<ReportCall> rows;
    rows.reserve(indices.size());
    for (const int index : indices) {
        const CallRecord &record = log.records[index];
        ReportCall row;
        row.index = index;
        row.start = stampOf(record.StartDay, record.StartMonth, record.StartYear, record.StartHour, record.StartMinute,
            record.StartSecond, today);
        row.end = stampOf(
            record.EndDay, record.EndMonth, record.EndYear, record.EndHour, record.EndMinute, record.EndSecond, today);
        row.seconds = record.DurationSeconds;
        row.cost = record.Cost;
        row.tariff = tariffText(tariffs, record.TariffId);
        if (record.ProviderIndex < kMaxProviders)
            row.provider = providers.records[record.ProviderIndex].Name.text();
        if (reprice) {
            // A start that names no real moment has no tariff in force.
            const QDateTime start(QDate(row.start.year, row.start.month, row.start.day),
                QTime(row.start.hour, row.start.minute, row.start.second));
            if (start.isValid()) {
                const CallPrice price = priceCall(*reprice, start, record.DurationSeconds);
                row.repricedUnderTariff = price.tariffIndex != kNoTariff;
                row.repriced = price.cost;
            }
        }
        rows.append(row);
    }
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
    for (const ReportCall &call : calls) {
        const QString key = keyOf(call, grouping);
        SummaryRow &row = rows[key];
        row.key = key;
        addTo(row, { key, 1, call.seconds, call.cost, call.repriced, call.repricedUnderTariff ? 0 : 1 });
    }
    return rows.values();
}

SummaryRow summaryTotal(const QList<SummaryRow> &rows)
{
    SummaryRow total;
    total.key = QStringLiteral("Total");
    for (const SummaryRow &row : rows)
        addTo(total, row);
    return total;
}
