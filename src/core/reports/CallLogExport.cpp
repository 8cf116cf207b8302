#include "core/reports/CallLogExport.h"

#include "core/calllog/CallLogRows.h"
#include "core/calllog/CallStatistics.h"
#include "core/reports/HtmlReport.h"
#include "core/reports/ReportFormat.h"
#include "core/reports/UsageChart.h"
#include "core/tariffs/TariffNames.h"

#include <QBuffer>

#include <algorithm>

namespace {

const QSize kReportChartSize(720, 360);

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// The volumes of allCalls(view.archived, view.log), unknown where not given.
std::vector<CallVolume> allVolumes(const CallLogView &view)
{
    std::vector<CallVolume> volumes(view.archived.size());
    std::copy_n(view.archivedVolumes.begin(), std::min(view.archivedVolumes.size(), volumes.size()), volumes.begin());
    const std::size_t logCalls = std::size_t(std::clamp(view.log.Count, 0, kMaxLogRecords));
    volumes.resize(volumes.size() + logCalls);
    std::copy_n(view.volumes.begin(), std::min(view.volumes.size(), logCalls), volumes.end() - qsizetype(logCalls));
    return volumes;
}

HtmlReportSection sectionFor(const CallLogView &view, const std::vector<CallRecord> &calls, int provider,
    const DateSpan &span, const QString &currencyText)
{
    HtmlReportSection section;
    section.provider = view.providers.records[provider].Name.text();
    ReportFilter filter;
    filter.from = span.from;
    filter.to = span.to;
    QList<int> indices;
    for (const int index : filteredCalls(calls, view.providers, filter, view.today))
        if (calls[std::size_t(index)].ProviderIndex == provider)
            indices.append(index);
    section.calls = reportCalls(calls, view.providers, view.tariffs, indices, view.today, nullptr, allVolumes(view));
    if (section.calls.isEmpty())
        return section;
    section.provider
        += QStringLiteral(": %1 to %2").arg(span.from.toString(Qt::ISODate), span.to.toString(Qt::ISODate));
    for (const QString &caption : statisticCaptions())
        section.statisticCaptions.append(caption);
    for (const QString &value : statisticValueTexts(callStatistics(calls, indices, view.today), currencyText))
        section.statisticValues.append(value);
    const UsageChart chart = spanUsageChart(section.calls, span.from, span.to);
    section.chartPng = pngOf(UsageChartPainter(chart, kReportChartSize).paint());
    return section;
}

} // namespace

QList<ReportCall> shownReportCalls(const CallLogView &view)
{
    return reportCalls(view.log.records, view.providers, view.tariffs, shownCalls(view.log, view.filter), view.today,
        nullptr, view.volumes);
}

QList<ReportCall> everyReportCall(const CallLogView &view)
{
    const std::vector<CallRecord> calls = allCalls(view.archived, view.log);
    QList<int> indices;
    for (const int index : filteredCalls(calls, view.providers, {}, view.today))
        if (view.filter == kAllProviders || calls[std::size_t(index)].ProviderIndex == view.filter)
            indices.append(index);
    return reportCalls(calls, view.providers, view.tariffs, indices, view.today, nullptr, allVolumes(view));
}

QByteArray shownCallsCsv(const CallLogView &view, const QString &currencyText)
{
    // The byte order mark tells a spreadsheet the text is UTF-8, not its own code page.
    return QByteArray("\xEF\xBB\xBF")
        + formatCalls(shownReportCalls(view), ReportFormat::Csv, false, currencyText).toUtf8();
}

QList<QDate> monthsWithCalls(const CallLogView &view)
{
    QList<QDate> months;
    for (const ReportCall &call : everyReportCall(view)) {
        const QDate month(call.start.year, call.start.month, 1);
        if (month.isValid() && !months.contains(month))
            months.append(month);
    }
    std::sort(months.begin(), months.end(), std::greater<>());
    return months;
}

QString monthReportHtml(const CallLogView &view, const std::optional<QDate> &month, const QString &currencyText)
{
    const QString title = month
        ? QStringLiteral("Calls of %1 %2")
              .arg(QLatin1String(MonthNames[std::size_t(month->month())]))
              .arg(month->year())
        : QStringLiteral("Calls of the billing month, as of %1").arg(view.today.toString(Qt::ISODate));
    const std::vector<CallRecord> calls = allCalls(view.archived, view.log);
    QList<HtmlReportSection> sections;
    const int count = std::min<int>(view.providers.Count, kMaxProviders);
    for (int provider = 0; provider < count; ++provider) {
        if (view.filter != kAllProviders && view.filter != provider)
            continue;
        const DateSpan span = month ? DateSpan { *month, month->addDays(month->daysInMonth() - 1) }
                                    : billingMonth(view.providers.records[provider].MonthStartDay, view.today);
        HtmlReportSection section = sectionFor(view, calls, provider, span, currencyText);
        if (!section.calls.isEmpty())
            sections.append(section);
    }
    return htmlReport(title, sections, currencyText);
}
