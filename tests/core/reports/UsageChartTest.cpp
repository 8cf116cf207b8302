#include "core/reports/UsageChart.h"

#include "core/calllog/CallLogRows.h"
#include "core/reports/CallLogExport.h"
#include "support/CallRecordTimes.h"

#include <QDateTime>

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <tuple>
#include <vector>

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

// A raw record as the log and its archive keep it: it ends its seconds after it starts.
CallRecord record(int year, int month, int day, int hour, std::uint32_t seconds, int provider, MoneyValue cost)
{
    CallRecord r {};
    setCallTimes(r, QDateTime(QDate(year, month, day), QTime(hour, 0)), seconds);
    r.Cost = cost;
    r.ProviderIndex = std::uint8_t(provider);
    return r;
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

// The chart counts the calls moved to the archive as it counts the log's:
// each bar is checked against sums taken here from the raw records, for a
// month, a year and a billing month from the 20th that the archive and the
// log share, whose first day's call is archived; and so is the billing
// month's report.
TEST(UsageChart, ArchivedCallsCountInEveryBar)
{
    auto providers = std::make_unique<ProviderTable>();
    providers->Count = 2;
    providers->records[0].Name.setText(QStringLiteral("Home ISP"));
    providers->records[1].Name.setText(QStringLiteral("Mobile"));
    providers->records[0].MonthStartDay = providers->records[1].MonthStartDay = 20;
    auto tariffs = std::make_unique<TariffTable>();
    const std::vector<CallRecord> archived {
        record(2025, 12, 31, 23, 1800, 0, 9'000), // the year before: in neither chart
        record(2026, 1, 3, 9, 600, 0, 12'345),
        record(2026, 1, 3, 18, 61, 1, 5'000),
        record(2026, 1, 19, 23, 7200, 0, 4'321), // runs into the billing month, began before it
        record(2026, 1, 20, 8, 3600, 1, 1'234'567),
        record(2026, 2, 1, 10, 30, 0, 777),
    };
    auto log = std::make_unique<CallLogTable>();
    for (const CallRecord &r : { record(2026, 1, 3, 20, 120, 0, 2'000), record(2026, 1, 31, 23, 7200, 1, 98'765),
             record(2026, 2, 1, 11, 45, 1, 1'111), record(2026, 2, 19, 23, 900, 0, 3'000),
             record(2026, 2, 20, 0, 60, 0, 400), record(2026, 3, 14, 7, 5, 0, 50) })
        log->records[log->Count++] = r;
    const QDate billingStart(2026, 1, 20);
    const QDate billingEnd(2026, 2, 19);

    std::vector<CallRecord> raw = archived;
    raw.insert(raw.end(), log->records, log->records + log->Count);
    using Figures = std::tuple<int, std::int64_t, MoneyValue>; // calls, seconds, cost
    for (const int filter : { kAllProviders, 0, 1 }) {
        SCOPED_TRACE(filter);
        const CallLogView view { *log, *providers, *tariffs, filter, QDate(2026, 2, 19), archived };
        const QList<ReportCall> calls = everyReportCall(view);
        std::map<std::pair<QDate, QString>, Figures> byDay;
        for (const CallRecord &r : raw) {
            if (filter != kAllProviders && r.ProviderIndex != filter)
                continue;
            auto &[n, seconds, cost] = byDay[{
                QDate(2000 + r.StartYear, r.StartMonth, r.StartDay), providers->records[r.ProviderIndex].Name.text() }];
            ++n;
            seconds += r.DurationSeconds;
            cost += r.Cost;
        }
        const auto sumOf = [&byDay](const QString &provider, const auto &counts) {
            Figures sum;
            for (const auto &[key, figures] : byDay)
                if (key.second == provider && counts(key.first)) {
                    std::get<0>(sum) += std::get<0>(figures);
                    std::get<1>(sum) += std::get<1>(figures);
                    std::get<2>(sum) += std::get<2>(figures);
                }
            return sum;
        };
        // `inBar(bar, day)`: whether bar `bar` counts the calls of `day`.
        const auto expectBars = [&](const UsageChart &chart, int bars, const auto &inBar) {
            ASSERT_EQ(chart.cost.size(), bars);
            for (int bar = 0; bar < bars; ++bar)
                for (int stack = 0; stack < chart.providers.size(); ++stack) {
                    const auto [n, seconds, cost]
                        = sumOf(chart.providers[stack], [&](const QDate &day) { return inBar(bar, day); });
                    EXPECT_EQ(chart.calls[bar][stack], n)
                        << "bar " << bar + 1 << " " << chart.providers[stack].toStdString();
                    EXPECT_EQ(chart.seconds[bar][stack], seconds) << "bar " << bar + 1;
                    EXPECT_EQ(chart.cost[bar][stack], cost) << "bar " << bar + 1;
                }
            for (const auto &[key, figures] : byDay)
                for (int bar = 0; bar < bars; ++bar)
                    if (inBar(bar, key.first)) {
                        EXPECT_TRUE(chart.providers.contains(key.second))
                            << key.second.toStdString() << " has no stack";
                    }
        };
        expectBars(monthUsageChart(calls, 2026, 1), 31,
            [](int bar, const QDate &day) { return day == QDate(2026, 1, bar + 1); });
        expectBars(yearUsageChart(calls, 2026), 12,
            [](int bar, const QDate &day) { return day.year() == 2026 && day.month() == bar + 1; });
        expectBars(spanUsageChart(calls, billingStart, billingEnd), 31,
            [&](int bar, const QDate &day) { return day == billingStart.addDays(bar); });

        // The current billing month's report: each provider's total.
        const QString html = monthReportHtml(view, std::nullopt, QStringLiteral("$ "));
        for (int provider = 0; provider < providers->Count; ++provider) {
            const QString name = providers->records[provider].Name.text();
            const auto [n, seconds, cost]
                = sumOf(name, [&](const QDate &day) { return day >= billingStart && day <= billingEnd; });
            const QString heading = QStringLiteral("<h2>%1: 2026-01-20 to 2026-02-19</h2>").arg(name);
            if (filter != kAllProviders && filter != provider) {
                EXPECT_FALSE(html.contains(heading)) << name.toStdString();
                continue;
            }
            const auto at = html.indexOf(heading);
            ASSERT_GE(at, 0) << name.toStdString();
            const QString section = html.mid(at, html.indexOf(QStringLiteral("</table>"), at) - at);
            const MoneyValue cents = (cost + 50) / 100; // to the nearest cent
            const QString total = QStringLiteral("<td>Total: %1 calls</td><td></td><td class=\"n\">%2:%3:%4</td>"
                                                 "<td></td><td class=\"n\">$ %5.%6</td>")
                                      .arg(n)
                                      .arg(seconds / 3600)
                                      .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                                      .arg(seconds % 60, 2, 10, QLatin1Char('0'))
                                      .arg(cents / 100)
                                      .arg(cents % 100, 2, 10, QLatin1Char('0'));
            EXPECT_TRUE(section.contains(total)) << section.toStdString() << "\nwants " << total.toStdString();
        }
    }
}

// Data bars are checked against sums of the raw records and their volume
// files, archive included; a call never counted adds to no bar, only to the
// count of such calls.
TEST(UsageChart, DataBarsHoldTheKnownBytesOfEveryCall)
{
    auto providers = std::make_unique<ProviderTable>();
    providers->Count = 2;
    providers->records[0].Name.setText(QStringLiteral("Satellite"));
    providers->records[1].Name.setText(QStringLiteral("Mobile"));
    auto tariffs = std::make_unique<TariffTable>();
    const std::vector<CallRecord> archived { record(2025, 12, 31, 23, 60, 0, 0), record(2026, 1, 3, 9, 600, 0, 0),
        record(2026, 1, 3, 18, 61, 1, 0), record(2026, 2, 1, 10, 30, 1, 0) };
    const std::vector<CallVolume> archivedVolumes { { 5, 5 }, { 3'000'000'000'000, 41 }, { -1, -1 }, { 700, 0 } };
    auto log = std::make_unique<CallLogTable>();
    for (const CallRecord &r : { record(2026, 1, 3, 20, 120, 0, 0), record(2026, 1, 31, 23, 7200, 1, 0),
             record(2026, 1, 31, 23, 5, 1, 0), record(2026, 3, 14, 7, 5, 0, 0) })
        log->records[log->Count++] = r;
    std::vector<CallVolume> volumes(kMaxLogRecords);
    volumes[0] = { 1'500'000'000'000, 9 };
    volumes[1] = { 12, 34 };
    volumes[3] = { 0, 0 }; // counted, and nothing moved
    // volumes[2] stays unknown.

    std::vector<std::pair<CallRecord, CallVolume>> raw;
    for (std::size_t i = 0; i < archived.size(); ++i)
        raw.emplace_back(archived[i], archivedVolumes[i]);
    for (int i = 0; i < log->Count; ++i)
        raw.emplace_back(log->records[i], volumes[std::size_t(i)]);
    for (const int filter : { kAllProviders, 0, 1 }) {
        SCOPED_TRACE(filter);
        const CallLogView view { *log, *providers, *tariffs, filter, QDate(2026, 3, 20), archived, volumes,
            archivedVolumes };
        const QList<ReportCall> calls = everyReportCall(view);
        // [period][provider name] -> bytes in, bytes out, calls not counted.
        using Sums = std::map<std::pair<int, QString>, std::tuple<std::int64_t, std::int64_t, int>>;
        Sums days;
        Sums months;
        int notCountedInJanuary = 0;
        for (const auto &[r, volume] : raw) {
            if ((filter != kAllProviders && r.ProviderIndex != filter) || r.StartYear != 26)
                continue;
            const QString name = providers->records[r.ProviderIndex].Name.text();
            const auto add = [&](Sums &sums, int period) {
                auto &[in, out, notCounted] = sums[{ period, name }];
                if (volume.bytesIn < 0) {
                    ++notCounted;
                } else {
                    in += volume.bytesIn;
                    out += volume.bytesOut;
                }
            };
            add(months, r.StartMonth);
            if (r.StartMonth == 1) {
                add(days, r.StartDay);
                notCountedInJanuary += volume.bytesIn < 0 ? 1 : 0;
            }
        }
        const auto expectBars = [](const UsageChart &chart, const Sums &sums, int bars) {
            ASSERT_EQ(chart.bytesIn.size(), bars);
            for (int bar = 0; bar < bars; ++bar)
                for (int stack = 0; stack < chart.providers.size(); ++stack) {
                    const auto it = sums.find({ bar + 1, chart.providers[stack] });
                    const auto [in, out, notCounted]
                        = it == sums.end() ? std::tuple<std::int64_t, std::int64_t, int> {} : it->second;
                    EXPECT_EQ(chart.bytesIn[bar][stack], in) << "bar " << bar + 1;
                    EXPECT_EQ(chart.bytesOut[bar][stack], out) << "bar " << bar + 1;
                    EXPECT_EQ(chart.notCounted[bar][stack], notCounted) << "bar " << bar + 1;
                }
        };
        const UsageChart january = monthUsageChart(calls, 2026, 1);
        expectBars(january, days, 31);
        expectBars(yearUsageChart(calls, 2026), months, 12);
        EXPECT_EQ(january.callsNotCounted(), notCountedInJanuary);
    }
}

TEST(UsageChart, DataFiguresAreReadableFromBytesToTerabytes)
{
    const struct {
        std::int64_t bytes;
        const char *text;
    } sizes[] = {
        { 0, "0 KB" },
        { 1, "1 KB" },
        { 999'000, "999 KB" },
        { 999'001, "1.0 MB" },
        { 412'500'000, "412.5 MB" },
        { 999'960'000, "1.00 GB" },
        { 1'250'000'000, "1.25 GB" },
        { 3'401'000'000'000, "3.40 TB" },
        { 9'000'000'000'000'000, "9000.00 TB" },
    };
    for (const auto &size : sizes)
        EXPECT_EQ(reportDataText(size.bytes).toStdString(), size.text) << size.bytes;

    // A damaged volume file's figures add up to the largest, never wrap below nothing.
    QList<ReportCall> huge = { call(1, 5, "X", 0, 1), call(1, 5, "X", 0, 1) };
    huge[0].volume = huge[1].volume = { std::numeric_limits<qint64>::max() - 1, 0 };
    EXPECT_EQ(monthUsageChart(huge, 2026, 1).bytesIn[4][0], std::numeric_limits<qint64>::max());
    EXPECT_EQ(summarizeCalls(huge, ReportGrouping::Days).value(0).bytesIn, std::numeric_limits<qint64>::max());

    // 3 January: Satellite's two calls, one never counted; Mobile's one counted.
    QList<ReportCall> calls = { call(1, 3, "Satellite", 0, 60), call(1, 3, "Satellite", 0, 60),
        call(1, 3, "Mobile", 0, 60), call(1, 4, "Mobile", 0, 60) };
    calls[0].volume = { 2'500'000'000'000, 1'000 };
    calls[2].volume = { 500'000'000'000, 2'000 };
    UsageChart chart = monthUsageChart(calls, 2026, 1);
    chart.plots = UsageChartPlots::Data;
    const UsageChartPainter painter(chart, QSize(420, 320));
    EXPECT_EQ(painter.barFigures(2, "$ ").toStdString(),
        "3 January 2026\nMobile: 1 call, 500.00 GB in, 2 KB out\n"
        "Satellite: 2 calls, 2.50 TB in, 1 KB out (1 call with no data counted)\n"
        "Total: 3 calls, 3.00 TB in, 3 KB out (1 call with no data counted)");
    EXPECT_EQ(painter.barFigures(3, "$ ").toStdString(),
        "4 January 2026\nMobile: 1 call, no data counted\n"
        "Total: 1 call, no data counted");
    // The received bar of the 3rd is the tallest: its full height is Mobile's
    // sixth under Satellite's five sixths.
    const QImage image = painter.paint();
    const QRect column = painter.barColumn(2, true);
    const auto at = [&](double heightFraction) {
        return image.pixelColor(column.center().x(), column.bottom() - int(heightFraction * column.height()));
    };
    EXPECT_EQ(at(0.1), UsageChartPainter::providerColour(0));
    EXPECT_EQ(at(0.5), UsageChartPainter::providerColour(1));
    EXPECT_EQ(at(0.95), UsageChartPainter::providerColour(1));
}
