#include "core/reports/UsageChart.h"

#include "core/store/Money.h"
#include "core/tariffs/TariffNames.h"

#include <QDate>
#include <QFont>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kLeft = 78;
constexpr int kRight = 12;
constexpr int kTitle = 26;
constexpr int kLabels = 16; // under each plot
constexpr int kLegendRow = 16;
constexpr int kLegendNameWidth = 150; // longer names are elided
constexpr int kGap = 10;

// Builds the stacks of the calls for which `barOf` gives a bar.
template <typename BarOf> void fill(UsageChart &chart, const QList<ReportCall> &calls, BarOf barOf)
{
    for (const ReportCall &call : calls)
        if (barOf(call) >= 0 && !chart.providers.contains(call.provider))
            chart.providers.append(call.provider);
    chart.providers.sort();
    const QList<MoneyValue> noCost(chart.providers.size(), 0);
    const QList<std::int64_t> noTime(chart.providers.size(), 0);
    chart.cost = QList<QList<MoneyValue>>(chart.labels.size(), noCost);
    chart.seconds = QList<QList<std::int64_t>>(chart.labels.size(), noTime);
    const QList<int> noCalls(chart.providers.size(), 0);
    chart.calls = QList<QList<int>>(chart.labels.size(), noCalls);
    chart.bytesIn = chart.seconds;
    chart.bytesOut = chart.seconds;
    chart.notCounted = chart.calls;
    for (const ReportCall &call : calls) {
        const int bar = barOf(call);
        if (bar < 0)
            continue;
        const auto provider = chart.providers.indexOf(call.provider);
        chart.cost[bar][provider] = addMoney(chart.cost[bar][provider], call.cost);
        chart.seconds[bar][provider] += call.seconds;
        ++chart.calls[bar][provider];
        if (call.volume.known()) {
            chart.bytesIn[bar][provider] = addBytes(chart.bytesIn[bar][provider], call.volume.bytesIn);
            chart.bytesOut[bar][provider] = addBytes(chart.bytesOut[bar][provider], call.volume.bytesOut);
        } else {
            ++chart.notCounted[bar][provider];
        }
    }
}

QString callsText(int calls) { return calls == 1 ? QStringLiteral("1 call") : QStringLiteral("%1 calls").arg(calls); }

QString notCountedText(int calls)
{
    return calls == 1 ? QStringLiteral("1 call with no data counted")
                      : QStringLiteral("%1 calls with no data counted").arg(calls);
}

int stackTotal(const QList<int> &stack)
{
    int total = 0;
    for (const int value : stack)
        total += value;
    return total;
}

// Money and bytes alike stop at the largest figure.
std::int64_t stackTotal(const QList<std::int64_t> &stack)
{
    std::int64_t total = 0;
    for (const std::int64_t value : stack)
        total = addBytes(total, value);
    return total;
}

// Heights in pixels for each provider's part of one bar, bottom first.
QList<int> stackHeights(const QList<std::int64_t> &stack, std::int64_t largest, int height)
{
    QList<int> heights;
    std::int64_t below = 0;
    int drawn = 0;
    for (const std::int64_t value : stack) {
        below = addBytes(below, value);
        // From the running total, so rounding never makes a stack taller than its sum.
        const int top = largest > 0 ? int(std::lround(double(below) * height / double(largest))) : 0;
        heights.append(top - drawn);
        drawn = top;
    }
    return heights;
}

} // namespace

int UsageChart::callsNotCounted() const
{
    int total = 0;
    for (const QList<int> &bar : notCounted)
        for (const int n : bar)
            total += n;
    return total;
}

UsageChart monthUsageChart(const QList<ReportCall> &calls, int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return {};
    UsageChart chart = spanUsageChart(calls, first, first.addDays(first.daysInMonth() - 1));
    chart.title = QStringLiteral("%1 %2").arg(QLatin1String(MonthNames[std::size_t(month)])).arg(year);
    return chart;
}

UsageChart yearUsageChart(const QList<ReportCall> &calls, int year)
{
    UsageChart chart;
    chart.title = QString::number(year);
    for (int month = 1; month <= 12; ++month) {
        const QLatin1String name(MonthNames[std::size_t(month)]);
        chart.labels.append(name.left(3));
        chart.barNames.append(QStringLiteral("%1 %2").arg(name).arg(year));
    }
    fill(chart, calls, [&](const ReportCall &call) {
        const CallStamp &s = call.start;
        return s.year == year && s.month >= 1 && s.month <= 12 ? s.month - 1 : -1;
    });
    return chart;
}

UsageChart spanUsageChart(const QList<ReportCall> &calls, const QDate &from, const QDate &to)
{
    UsageChart chart;
    if (!from.isValid() || !to.isValid() || to < from)
        return chart;
    const auto nameOf = [](const QDate &date, bool withYear) {
        const QString name
            = QStringLiteral("%1 %2").arg(date.day()).arg(QLatin1String(MonthNames[std::size_t(date.month())]));
        return withYear ? name + QLatin1Char(' ') + QString::number(date.year()) : name;
    };
    chart.title = nameOf(from, from.year() != to.year()) + QStringLiteral(" to ") + nameOf(to, true);
    for (QDate day = from; day <= to; day = day.addDays(1)) {
        chart.labels.append(QString::number(day.day()));
        chart.barNames.append(nameOf(day, true));
    }
    const auto keyOf = [](const QDate &date) { return date.year() * 10000 + date.month() * 100 + date.day(); };
    const int first = keyOf(from);
    const int last = keyOf(to);
    fill(chart, calls, [&](const ReportCall &call) {
        const int key = call.start.dateKey();
        if (key < first || key > last)
            return -1;
        // The key lies between two real dates, yet the bytes may name no day.
        const QDate day(call.start.year, call.start.month, call.start.day);
        return day.isValid() ? int(from.daysTo(day)) : -1;
    });
    return chart;
}

UsageChartPainter::UsageChartPainter(const UsageChart &chart, QSize size, const UsageChartColours &colours)
    : m_chart(chart)
    , m_size(size)
    , m_colours(colours)
{
}

QColor UsageChartPainter::providerColour(int provider)
{
    static const std::array<QColor, 10> colours = { QColor(0, 128, 128), QColor(255, 128, 64), QColor(70, 90, 160),
        QColor(160, 60, 90), QColor(120, 150, 40), QColor(120, 120, 120), QColor(210, 180, 40), QColor(150, 100, 200),
        QColor(60, 170, 220), QColor(170, 110, 60) };
    return colours[std::size_t(provider) % colours.size()];
}

QFont UsageChartPainter::font()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    return font;
}

QList<QRect> UsageChartPainter::legendEntries() const
{
    // Entries run in rows under the plots, as many rows as the names need;
    // rows counted from the legend's top.
    const QFontMetrics metrics(font());
    QList<QRect> entries;
    int x = kLeft;
    int row = 0;
    for (const QString &name : m_chart.providers) {
        const int width = 14 + std::min(metrics.horizontalAdvance(name) + 4, kLegendNameWidth);
        if (x > kLeft && x + width > m_size.width() - kRight) {
            x = kLeft;
            ++row;
        }
        entries.append(QRect(x, row * kLegendRow, width, kLegendRow));
        x += width + 16;
    }
    return entries;
}

int UsageChartPainter::legendHeight(const QList<QRect> &entries) const
{
    const int rows
        = (entries.isEmpty() ? 1 : entries.last().bottom() / kLegendRow + 1) + (notCountedNote().isEmpty() ? 0 : 1);
    return rows * kLegendRow + 6;
}

QString UsageChartPainter::notCountedNote() const
{
    if (m_chart.plots != UsageChartPlots::Data)
        return {};
    const int calls = m_chart.callsNotCounted();
    if (calls == 0)
        return {};
    return calls == 1 ? QStringLiteral("1 call has no data counted: it is in no bar.")
                      : QStringLiteral("%1 calls have no data counted: they are in no bar.").arg(calls);
}

QRect UsageChartPainter::plotRect(bool costPlot) const
{
    // Without a title (a window names the period itself) the plots move up.
    const int title = m_chart.title.isEmpty() ? kLabels / 2 : kTitle;
    const int available = m_size.height() - title - legendHeight(legendEntries()) - 2 * kLabels - kGap;
    const int height = std::max(1, available / 2);
    const int top = costPlot ? title : title + height + kLabels + kGap;
    return QRect(kLeft, top, std::max(1, m_size.width() - kLeft - kRight), height);
}

QRect UsageChartPainter::barColumn(int bar, bool costPlot) const
{
    const QRect plot = plotRect(costPlot);
    const int bars = std::max<int>(1, int(m_chart.labels.size()));
    const int left = plot.left() + plot.width() * bar / bars;
    const int right = plot.left() + plot.width() * (bar + 1) / bars;
    return QRect(left, plot.top(), right - left, plot.height());
}

std::optional<int> UsageChartPainter::barAt(QPoint point) const
{
    for (int bar = 0; bar < m_chart.labels.size(); ++bar)
        if (barColumn(bar, true).contains(point) || barColumn(bar, false).contains(point))
            return bar;
    return std::nullopt;
}

QString UsageChartPainter::figuresOf(int calls, MoneyValue cost, std::int64_t seconds, std::int64_t bytesIn,
    std::int64_t bytesOut, int notCounted, const QString &currencyText) const
{
    if (m_chart.plots == UsageChartPlots::CostAndTime)
        return QStringLiteral("%1, %2, %3")
            .arg(callsText(calls), moneyText(cost, currencyText), reportDurationText(seconds));
    if (calls > 0 && notCounted == calls)
        return QStringLiteral("%1, no data counted").arg(callsText(calls));
    QString text
        = QStringLiteral("%1, %2 in, %3 out").arg(callsText(calls), reportDataText(bytesIn), reportDataText(bytesOut));
    if (notCounted > 0)
        text += QStringLiteral(" (%1)").arg(notCountedText(notCounted));
    return text;
}

QString UsageChartPainter::barFigures(int bar, const QString &currencyText) const
{
    if (bar < 0 || bar >= m_chart.labels.size())
        return {};
    QString text = m_chart.barNames.value(bar, m_chart.labels[bar]);
    for (int p = 0; p < m_chart.providers.size(); ++p) {
        const int calls = m_chart.calls[bar][p];
        if (calls == 0)
            continue;
        text += QStringLiteral("\n%1: %2")
                    .arg(m_chart.providers[p],
                        figuresOf(calls, m_chart.cost[bar][p], m_chart.seconds[bar][p], m_chart.bytesIn[bar][p],
                            m_chart.bytesOut[bar][p], m_chart.notCounted[bar][p], currencyText));
    }
    return text + QStringLiteral("\nTotal: ")
        + figuresOf(stackTotal(m_chart.calls[bar]), stackTotal(m_chart.cost[bar]), stackTotal(m_chart.seconds[bar]),
            stackTotal(m_chart.bytesIn[bar]), stackTotal(m_chart.bytesOut[bar]), stackTotal(m_chart.notCounted[bar]),
            currencyText);
}

QImage UsageChartPainter::paint(qreal pixelRatio) const
{
    QImage image(m_size * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(m_colours.background);
    QPainter painter(&image);
    const QFont font = UsageChartPainter::font();
    painter.setFont(font);
    painter.setPen(m_colours.text);
    QFont bold = font;
    bold.setBold(true);
    bold.setPixelSize(13);
    painter.setFont(bold);
    painter.drawText(QRect(0, 0, m_size.width(), kTitle), Qt::AlignCenter, m_chart.title);
    painter.setFont(font);

    // Money and bytes alike are whole numbers in 64 bits.
    const bool data = m_chart.plots == UsageChartPlots::Data;
    const QList<QList<std::int64_t>> &upper = data ? m_chart.bytesIn : m_chart.cost;
    const QList<QList<std::int64_t>> &lower = data ? m_chart.bytesOut : m_chart.seconds;
    std::int64_t largestTop = 0;
    std::int64_t largestBottom = 0;
    for (int bar = 0; bar < m_chart.labels.size(); ++bar) {
        largestTop = std::max(largestTop, stackTotal(upper[bar]));
        largestBottom = std::max(largestBottom, stackTotal(lower[bar]));
    }

    for (const bool costPlot : { true, false }) {
        const QRect plot = plotRect(costPlot);
        painter.setPen(m_colours.axis);
        painter.drawLine(plot.bottomLeft(), plot.bottomRight());
        painter.drawLine(plot.topLeft(), plot.bottomLeft());
        painter.setPen(m_colours.text);
        const QRect axisText(0, plot.top(), kLeft - 6, plot.height());
        const std::int64_t largest = costPlot ? largestTop : largestBottom;
        const QString scale = data ? reportDataText(largest)
            : costPlot             ? amountText(largest)
                                   : reportDurationText(largest);
        const QString name = data ? (costPlot ? QStringLiteral("Received") : QStringLiteral("Sent"))
                                  : (costPlot ? QStringLiteral("Cost") : QStringLiteral("Time"));
        painter.drawText(axisText, Qt::AlignRight | Qt::AlignTop, scale);
        painter.drawText(axisText, Qt::AlignRight | Qt::AlignVCenter, name);
        // Thin bars would crowd the labels: every other one is left out.
        const int step = barColumn(0, costPlot).width() < 18 ? 2 : 1;
        for (int bar = 0; bar < m_chart.labels.size(); ++bar) {
            const QRect column = barColumn(bar, costPlot);
            const int inset = std::max(1, column.width() / 6);
            const QList<int> heights = stackHeights((costPlot ? upper : lower)[bar], largest, plot.height());
            int bottom = plot.bottom();
            for (int p = 0; p < heights.size(); ++p) {
                if (heights[p] <= 0)
                    continue;
                painter.fillRect(
                    QRect(column.left() + inset, bottom - heights[p] + 1, column.width() - 2 * inset, heights[p]),
                    providerColour(p));
                bottom -= heights[p];
            }
            if (bar % step == 0)
                painter.drawText(QRect(column.left() - 10, plot.bottom() + 2, column.width() + 20, kLabels),
                    Qt::AlignHCenter | Qt::AlignTop, m_chart.labels[bar]);
        }
    }

    const QList<QRect> legend = legendEntries();
    const int legendTop = m_size.height() - legendHeight(legend) + 4;
    for (int p = 0; p < legend.size(); ++p) {
        const QRect entry = legend[p].translated(0, legendTop);
        painter.fillRect(QRect(entry.left(), entry.top() + 2, 10, 10), providerColour(p));
        // Elided to the legend's limit only: the window's metrics may differ
        // by a pixel from those the entries were measured with.
        const QString name = painter.fontMetrics().elidedText(m_chart.providers[p], Qt::ElideRight, kLegendNameWidth);
        painter.drawText(QPoint(entry.left() + 14, entry.top() + 11), name);
    }
    if (const QString note = notCountedNote(); !note.isEmpty()) {
        const QRect line(kLeft, m_size.height() - kLegendRow - 2, m_size.width() - kLeft - kRight, kLegendRow);
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
            painter.fontMetrics().elidedText(note, Qt::ElideRight, line.width()));
    }
    return image;
}
