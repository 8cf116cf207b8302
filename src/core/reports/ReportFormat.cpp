#include "core/reports/ReportFormat.h"

#include "core/store/Money.h"
#include "core/store/TextHelpers.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kBarWidth = 40;

QString jsonString(const QString &text)
{
    QString result = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            result += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20)
            result += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

// A table of cells as CSV, JSON or aligned text; `numeric` columns are JSON
// numbers and right-aligned in text.
struct Table {
    QStringList names;
    QList<bool> numeric;
    QList<QStringList> rows;

    QString csv() const
    {
        QString out = names.join(QLatin1Char(',')) + QLatin1Char('\n');
        for (const QStringList &row : rows) {
            QStringList fields;
            for (const QString &cell : row)
                fields.append(csvField(cell));
            out += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
        }
        return out;
    }

    QString json() const
    {
        if (rows.isEmpty())
            return QStringLiteral("[]\n");
        QStringList objects;
        for (const QStringList &row : rows) {
            QStringList members;
            for (int c = 0; c < names.size(); ++c)
                members.append(
                    jsonString(names[c]) + QStringLiteral(": ") + (numeric[c] ? row[c] : jsonString(row[c])));
            objects.append(QStringLiteral("  {") + members.join(QStringLiteral(", ")) + QLatin1Char('}'));
        }
        return QStringLiteral("[\n") + objects.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n");
    }

    QString text(const QList<QStringList> &footer) const
    {
        QList<QStringList> all = { names };
        all += rows;
        all += footer;
        // Rows may carry unnamed cells after the named ones (notes, bars).
        QList<int> widths;
        for (const QStringList &row : all) {
            widths.resize(std::max(widths.size(), row.size()), 0);
            for (int c = 0; c < row.size(); ++c)
                widths[c] = std::max(widths[c], int(row[c].size()));
        }
        QString out;
        for (const QStringList &row : all) {
            QStringList cells;
            for (int c = 0; c < row.size(); ++c) {
                const bool right = c < numeric.size() && numeric[c];
                cells.append(right ? row[c].rightJustified(widths[c]) : row[c].leftJustified(widths[c]));
            }
            while (!cells.isEmpty() && cells.last().trimmed().isEmpty())
                cells.removeLast();
            QString line = cells.join(QStringLiteral("  "));
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
            out += line + QLatin1Char('\n');
        }
        return out;
    }
};

// Empty where unknown; JSON has null for it.
QString bytesCell(qint64 bytes, ReportFormat format)
{
    if (bytes >= 0)
        return QString::number(bytes);
    return format == ReportFormat::Json ? QStringLiteral("null") : QString();
}

void addBytesColumns(Table &table)
{
    table.names << QStringLiteral("bytes_in") << QStringLiteral("bytes_out");
    table.numeric << true << true;
}

QString moneyCell(MoneyValue amount, ReportFormat format, const QString &currencyText)
{
    return format == ReportFormat::Text ? moneyText(amount, currencyText) : plainMoneyText(amount);
}

QString barOf(MoneyValue cost, MoneyValue largest)
{
    if (largest <= 0 || cost <= 0)
        return {};
    // Rounded up, so that any cost shows at least one mark.
    const MoneyValue marks = std::max<MoneyValue>(1, scaleMoney(cost, kBarWidth, largest));
    return QString(qsizetype(std::min<MoneyValue>(marks, kBarWidth)), QLatin1Char('#'));
}

QString unpricedNote(int unpriced, int dataNotCounted)
{
    QStringList notes;
    if (unpriced > 0)
        notes << (unpriced == 1 ? QStringLiteral("1 call under no tariff")
                                : QStringLiteral("%1 calls under no tariff").arg(unpriced));
    if (dataNotCounted > 0)
        notes << (dataNotCounted == 1 ? QStringLiteral("1 call with no data counted")
                                      : QStringLiteral("%1 calls with no data counted").arg(dataNotCounted));
    return notes.join(QStringLiteral("; "));
}

QStringList summaryCells(const SummaryRow &row, ReportFormat format, bool repriced, const QString &currencyText)
{
    QStringList cells = { row.key, QString::number(row.calls),
        format == ReportFormat::Text ? reportDurationText(row.seconds) : QString::number(row.seconds),
        moneyCell(row.cost, format, currencyText) };
    if (repriced)
        cells << moneyCell(row.repriced, format, currencyText)
              << moneyCell(addMoney(row.repriced, -row.cost), format, currencyText);
    cells << bytesCell(row.bytesIn, format) << bytesCell(row.bytesOut, format);
    return cells;
}

QString render(const Table &table, ReportFormat format, const QList<QStringList> &footer = {})
{
    switch (format) {
    case ReportFormat::Csv:
        return table.csv();
    case ReportFormat::Json:
        return table.json();
    case ReportFormat::Text:
        return table.text(footer);
    }
    return {};
}

} // namespace

QString plainMoneyText(MoneyValue amount)
{
    const std::uint64_t magnitude = amount < 0 ? 0 - std::uint64_t(amount) : std::uint64_t(amount);
    QString fraction = QStringLiteral("%1").arg(magnitude % kMoneyUnit, 4, 10, QLatin1Char('0'));
    while (fraction.size() > 2 && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    return (amount < 0 ? QStringLiteral("-") : QString()) + QString::number(magnitude / kMoneyUnit) + QLatin1Char('.')
        + fraction;
}

QString csvField(const QString &text)
{
    // A spreadsheet would run a cell that begins like a formula; a plain
    // number (a negative difference) is left to read as a number.
    static const QRegularExpression plainNumber(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
    QString field = text;
    // A leading tab or carriage return is dropped by some spreadsheets before they look for a formula.
    if (!field.isEmpty() && QStringLiteral("=+-@\t\r").contains(field.front()) && !plainNumber.match(field).hasMatch())
        field.prepend(QLatin1Char('\''));
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r')))
        return field;
    field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

QString formatCalls(const QList<ReportCall> &calls, ReportFormat format, bool repriced, const QString &currencyText)
{
    Table table;
    table.names = { QStringLiteral("start"), QStringLiteral("end"), QStringLiteral("duration"), QStringLiteral("cost"),
        QStringLiteral("tariff"), QStringLiteral("provider") };
    table.numeric = { false, false, true, format == ReportFormat::Text, false, false };
    if (repriced) {
        table.names << QStringLiteral("repriced") << QStringLiteral("difference");
        table.numeric << (format == ReportFormat::Text) << (format == ReportFormat::Text);
    }
    addBytesColumns(table);
    for (const ReportCall &call : calls) {
        QStringList cells = { call.start.dateTimeText(), call.end.dateTimeText(),
            format == ReportFormat::Text ? reportDurationText(call.seconds) : QString::number(call.seconds),
            moneyCell(call.cost, format, currencyText), call.tariff, call.provider };
        if (repriced) {
            cells << moneyCell(call.repriced, format, currencyText)
                  << moneyCell(addMoney(call.repriced, -call.cost), format, currencyText);
        }
        cells << bytesCell(call.volume.bytesIn, format) << bytesCell(call.volume.bytesOut, format);
        if (repriced && format == ReportFormat::Text) {
            QStringList notes;
            if (!call.repricedUnderTariff)
                notes << QStringLiteral("no tariff in force");
            if (call.dataNotCounted)
                notes << QStringLiteral("no data counted");
            cells << notes.join(QStringLiteral("; "));
        }
        table.rows.append(cells);
    }
    return render(table, format);
}

QString formatSummary(
    const QList<SummaryRow> &rows, ReportFormat format, bool repriced, bool bars, const QString &currencyText)
{
    Table table;
    table.names = { QStringLiteral("key"), QStringLiteral("calls"), QStringLiteral("seconds"), QStringLiteral("cost") };
    table.numeric = { false, true, true, format == ReportFormat::Text };
    if (repriced) {
        table.names << QStringLiteral("repriced") << QStringLiteral("difference");
        table.numeric << (format == ReportFormat::Text) << (format == ReportFormat::Text);
    }
    addBytesColumns(table);
    MoneyValue largest = 0;
    for (const SummaryRow &row : rows)
        largest = std::max(largest, row.cost);
    for (const SummaryRow &row : rows) {
        QStringList cells = summaryCells(row, format, repriced, currencyText);
        if (format == ReportFormat::Text) {
            if (repriced)
                cells << unpricedNote(row.unpriced, row.dataNotCounted);
            if (bars)
                cells << barOf(row.cost, largest);
        }
        table.rows.append(cells);
    }
    if (format != ReportFormat::Text)
        return render(table, format);
    const SummaryRow total = summaryTotal(rows);
    QStringList footer = summaryCells(total, format, repriced, currencyText);
    if (repriced)
        footer << unpricedNote(total.unpriced, total.dataNotCounted);
    return render(table, format, { footer });
}
