#include "core/reports/HtmlReport.h"

#include "core/store/Money.h"

#include <algorithm>

namespace {

QString cell(const QString &text, bool number = false)
{
    return (number ? QStringLiteral("<td class=\"n\">") : QStringLiteral("<td>")) + text.toHtmlEscaped()
        + QStringLiteral("</td>");
}

// Empty where unknown.
QString bytesText(qint64 bytes) { return bytes >= 0 ? QString::number(bytes) : QString(); }

QString sectionHtml(const HtmlReportSection &section, const QString &currencyText)
{
    QString html = QStringLiteral("<h2>%1</h2>\n").arg(section.provider.toHtmlEscaped());
    if (!section.chartPng.isEmpty())
        html += QStringLiteral("<p><img alt=\"Cost and time per day\" src=\"data:image/png;base64,%1\"></p>\n")
                    .arg(QString::fromLatin1(section.chartPng.toBase64()));
    html += QStringLiteral("<table>\n<tr><th>Started</th><th>Ended</th><th>Duration</th><th>Tariff</th>"
                           "<th>Cost</th><th>Bytes in</th><th>Bytes out</th></tr>\n");
    std::int64_t seconds = 0;
    MoneyValue cost = 0;
    qint64 bytesIn = -1;
    qint64 bytesOut = -1;
    for (const ReportCall &call : section.calls) {
        html += QStringLiteral("<tr>") + cell(call.start.dateTimeText()) + cell(call.end.dateTimeText())
            + cell(reportDurationText(call.seconds), true) + cell(call.tariff)
            + cell(moneyText(call.cost, currencyText), true) + cell(bytesText(call.volume.bytesIn), true)
            + cell(bytesText(call.volume.bytesOut), true) + QStringLiteral("</tr>\n");
        seconds += call.seconds;
        cost = addMoney(cost, call.cost);
        if (call.volume.known()) {
            bytesIn = std::max<qint64>(bytesIn, 0) + call.volume.bytesIn;
            bytesOut = std::max<qint64>(bytesOut, 0) + call.volume.bytesOut;
        }
    }
    html += QStringLiteral("<tr class=\"total\">")
        + cell(section.calls.size() == 1 ? QStringLiteral("Total: 1 call")
                                         : QStringLiteral("Total: %1 calls").arg(section.calls.size()))
        + cell({}) + cell(reportDurationText(seconds), true) + cell({}) + cell(moneyText(cost, currencyText), true)
        + cell(bytesText(bytesIn), true) + cell(bytesText(bytesOut), true) + QStringLiteral("</tr>\n</table>\n");
    if (!section.statisticCaptions.isEmpty()) {
        html += QStringLiteral("<table class=\"stats\">\n");
        for (int i = 0; i < section.statisticCaptions.size() && i < section.statisticValues.size(); ++i)
            html += QStringLiteral("<tr>") + cell(section.statisticCaptions[i]) + cell(section.statisticValues[i], true)
                + QStringLiteral("</tr>\n");
        html += QStringLiteral("</table>\n");
    }
    return html;
}

} // namespace

QString htmlReport(const QString &title, const QList<HtmlReportSection> &sections, const QString &currencyText)
{
    QString html
        = QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n<style>\n"
                         "body { font-family: Arial, sans-serif; color: #555; }\n"
                         "table { border-collapse: collapse; margin-bottom: 1em; }\n"
                         "th, td { padding: 2px 10px; border-bottom: 1px solid #ddd; text-align: left; }\n"
                         "td.n { text-align: right; }\n"
                         "tr.total td { font-weight: bold; border-top: 2px solid #555; }\n"
                         "h2 { page-break-before: auto; color: #008080; }\n"
                         "</style>\n</head>\n<body>\n<h1>%1</h1>\n")
              .arg(title.toHtmlEscaped());
    for (const HtmlReportSection &section : sections)
        html += sectionHtml(section, currencyText);
    if (sections.isEmpty())
        html += QStringLiteral("<p>No calls.</p>\n");
    return html + QStringLiteral("</body>\n</html>\n");
}
