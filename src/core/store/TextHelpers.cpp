#include "core/store/TextHelpers.h"

#include <QPainter>
#include <QRect>

#include <optional>

namespace {

// A decimal field as the duration texts hold it: leading blanks, an optional
// sign, then digits and nothing else.
std::optional<std::int32_t> fieldValue(const QString &field)
{
    qsizetype i = 0;
    while (i < field.size() && field.at(i) == QLatin1Char(' '))
        ++i;
    const QString number = field.mid(i);
    const qsizetype digitsFrom = (number.startsWith(QLatin1Char('-')) || number.startsWith(QLatin1Char('+'))) ? 1 : 0;
    if (number.size() == digitsFrom)
        return std::nullopt;
    for (qsizetype d = digitsFrom; d < number.size(); ++d) {
        if (number.at(d) < QLatin1Char('0') || number.at(d) > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int value = number.toInt(&ok, 10);
    return ok ? std::optional(value) : std::nullopt;
}

std::int32_t parseDuration(const QString &text, int hourDigits)
{
    const int m = hourDigits + 2;
    const auto hours = fieldValue(CopyRange(text, 1, hourDigits));
    const auto minutes = fieldValue(CopyRange(text, m, m + 1));
    const auto seconds = fieldValue(CopyRange(text, m + 3, m + 4));
    if (!hours || !minutes || !seconds)
        return 0;
    return *hours * 3600 + *minutes * 60 + *seconds;
}

QString durationText(std::int64_t seconds, int hourDigits)
{
    return QString::asprintf("%.*lld:%.2d:%.2d", hourDigits, static_cast<long long>(seconds / 3600),
        int((seconds / 60) % 60), int(seconds % 60));
}

} // namespace

QString CopyRange(const QString &text, int first, int last)
{
    if (last < first || first > text.size())
        return {};
    first = std::max(first, 1);
    return text.mid(first - 1, last - first + 1);
}

QString CallDateText(std::uint8_t day, std::uint8_t month, std::uint8_t year)
{
    return QString::asprintf("%.2d/%.2d/%.2d", day, month, year);
}

QString CallTimeText(std::uint8_t hour, std::uint8_t minute, std::uint8_t second)
{
    return QString::asprintf("%.2d:%.2d:%.2d", hour, minute, second);
}

QString LongDurationText(std::int64_t seconds) { return durationText(seconds, 4); }

QString ShortDurationText(std::int64_t seconds) { return durationText(seconds, 2); }

std::int32_t ParseLongDuration(const QString &text) { return parseDuration(text, 4); }

std::int32_t ParseShortDuration(const QString &text) { return parseDuration(text, 2); }

void DrawCellTextRight(QPainter &painter, const QRect &cell, const QString &text)
{
    painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, text);
}
