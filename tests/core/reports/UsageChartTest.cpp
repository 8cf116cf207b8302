#include "core/reports/UsageChart.h"

#include <gtest/gtest.h>

namespace {

ReportCall call(int month, int day, const QString &provider, MoneyValue cost, std::uint32_t seconds)
{
    ReportCall c;
    c.start = { 2026, month, day, 12, 0, 0 };
    c.provider = provider;
    c.cost = cost;
    c.seconds = seconds;
    return c;
}

} // namespace

TEST(UsageChart, BarsStandWhereTheirFiguresPutThem)
{
    // Day 1: A alone at half the height; day 3: A under B, the tallest; day 2 empty.
    const QList<ReportCall> calls = {
        call(2, 1, "A", 10000, 60), call(2, 3, "B", 10000, 60), call(2, 3, "A", 10000, 60),
        call(3, 1, "B", 99999, 9999), // another month
    };
    const UsageChart chart = monthUsageChart(calls, 2026, 2);
    ASSERT_EQ(chart.labels.size(), 28);
    ASSERT_EQ(chart.providers, QStringList({ "A", "B" }));

    const UsageChartPainter painter(chart, QSize(420, 320));
    const QImage image = painter.paint();
    const QColor a = UsageChartPainter::providerColour(0);
    const QColor b = UsageChartPainter::providerColour(1);
    for (const bool costPlot : { true, false }) {
        const auto pixel = [&](int bar, double heightFraction) {
            const QRect column = painter.barColumn(bar, costPlot);
            const int y = column.bottom() - int(heightFraction * column.height());
            return image.pixelColor(column.center().x(), y);
        };
        EXPECT_EQ(pixel(0, 0.25), a);
        EXPECT_EQ(pixel(0, 0.75), Qt::white);
        EXPECT_EQ(pixel(1, 0.25), Qt::white);
        EXPECT_EQ(pixel(2, 0.25), a);
        EXPECT_EQ(pixel(2, 0.75), b);
        EXPECT_EQ(pixel(3, 0.25), Qt::white);
    }

    const QRect third = painter.barColumn(2, false);
    EXPECT_EQ(painter.barAt(third.center()), 2);
    EXPECT_EQ(painter.barAt(QPoint(2, 2)), std::nullopt);
    EXPECT_EQ(painter.barFigures(2, "$ "),
        QString("3 February 2026\nA: 1 call, $ 1.00, 0:01:00\nB: 1 call, $ 1.00, 0:01:00\nTotal: 2 calls, $ 2.00, "
                "0:02:00"));

    const UsageChart year = yearUsageChart(calls, 2026);
    ASSERT_EQ(year.labels.size(), 12);
    EXPECT_EQ(year.cost[1], QList<MoneyValue>({ 20000, 10000 }));
    EXPECT_EQ(year.seconds[2], QList<std::int64_t>({ 0, 9999 }));
}

TEST(UsageChart, ALegendOfManyLongNamesWrapsInsideThePicture)
{
    QList<ReportCall> calls;
    for (int p = 0; p < 9; ++p)
        calls.append(call(3, 1 + p, QString(64, QChar('a' + p)), 10000, 60));
    const UsageChart chart = yearUsageChart(calls, 2026);
    const QSize size(420, 320);
    const UsageChartPainter painter(chart, size);
    const QImage image = painter.paint();

    // Under the time plot's labels only the legend is painted: every
    // provider's swatch shows there, and nothing runs past the right margin.
    const int legendTop = painter.barColumn(0, false).bottom() + 18;
    ASSERT_LT(legendTop, size.height());
    QList<QColor> seen;
    for (int y = legendTop; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (x >= size.width() - 4) {
                EXPECT_EQ(pixel, Qt::white) << x << "," << y;
            }
            if (!seen.contains(pixel))
                seen.append(pixel);
        }
    for (int p = 0; p < 9; ++p)
        EXPECT_TRUE(seen.contains(UsageChartPainter::providerColour(p))) << "no swatch for provider " << p;
}
