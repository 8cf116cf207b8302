#pragma once

#include "core/reports/CallReport.h"

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// What the two plots show: cost above and connected time below, or the
// bytes received above and sent below.
enum class UsageChartPlots { CostAndTime, Data };

// Cost, connected time and data per day of a month or per month of a year,
// each bar stacked by provider. Money in 1/10000, time in seconds.
struct UsageChart {
    QString title; // "March 2026", "2026"
    QStringList providers; // the stacks, bottom first
    QStringList labels; // one per bar: day or month
    QStringList barNames; // one per bar, in full: "3 February 2026", "March 2026"
    // [bar][provider]
    QList<QList<MoneyValue>> cost;
    QList<QList<std::int64_t>> seconds;
    QList<QList<int>> calls;
    // The bytes of the calls whose volume is known, and how many calls were
    // never counted: those are in no data bar, and the chart says so.
    QList<QList<std::int64_t>> bytesIn;
    QList<QList<std::int64_t>> bytesOut;
    QList<QList<int>> notCounted;
    UsageChartPlots plots = UsageChartPlots::CostAndTime;

    // The calls of the whole chart whose bytes were never counted.
    [[nodiscard]] int callsNotCounted() const;
};

// Calls started in the month, one bar per day.
UsageChart monthUsageChart(const QList<ReportCall> &calls, int year, int month);
// Calls started in the year, one bar per month.
UsageChart yearUsageChart(const QList<ReportCall> &calls, int year);
// Calls started from `from` to `to`, both inclusive, one bar per day: a
// billing month that begins in one month and ends in the next.
UsageChart spanUsageChart(const QList<ReportCall> &calls, const QDate &from, const QDate &to);

// White paper for print; the windows draw on their dark panels.
struct UsageChartColours {
    QColor background { Qt::white };
    QColor text { 85, 85, 85 };
    QColor axis { 160, 160, 170 };
};

// Draws the chart: cost above and connected time below, or the bytes
// received above and sent below; a legend of providers; under the data
// plots, a note of the calls whose bytes were never counted.
class UsageChartPainter {
public:
    UsageChartPainter(const UsageChart &chart, QSize size, const UsageChartColours &colours = {});

    // At `pixelRatio` device pixels per pixel of the size, for sharp
    // pictures on dense screens; positions stay in the size's pixels.
    QImage paint(qreal pixelRatio = 1) const;
    // The bar under a point of the picture, in either plot; empty between bars.
    std::optional<int> barAt(QPoint point) const;
    // What a click on a bar shows: its label and each provider's cost and
    // time, or its bytes received and sent.
    QString barFigures(int bar, const QString &currencyText) const;

    static QColor providerColour(int provider);
    static QFont font();

    // The column of bar `bar` in the top plot (cost, bytes received) or the
    // bottom one (time, bytes sent).
    QRect barColumn(int bar, bool costPlot) const;

private:
    QRect plotRect(bool costPlot) const;
    QList<QRect> legendEntries() const;
    int legendHeight(const QList<QRect> &entries) const;
    QString notCountedNote() const;
    QString figuresOf(int calls, MoneyValue cost, std::int64_t seconds, std::int64_t bytesIn, std::int64_t bytesOut,
        int notCounted, const QString &currencyText) const;

    const UsageChart &m_chart;
    QSize m_size;
    UsageChartColours m_colours;
};
