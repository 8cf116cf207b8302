#include "core/tariffs/TariffEditorTexts.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/tariffs/TariffNames.h"

#include <array>

namespace {

template <std::size_t N> QString entry(const std::array<const char *, N> &names, std::uint32_t code)
{
    if (code < 1 || code >= N)
        return QStringLiteral(" ");
    return QString::fromLatin1(names[code]);
}

constexpr std::uint32_t kSundayBit = 64;

} // namespace

QString unitKindText(std::uint8_t unitKind) { return entry(TariffUnitNames, unitKind); }

QString chargeKindText(std::uint8_t chargeKind) { return entry(ChargeKindNames, chargeKind); }

QString monthText(std::uint32_t month) { return entry(MonthNames, month); }

QString daySuffix(std::uint32_t day)
{
    switch (day) {
    case 1:
    case 21:
    case 31:
        return QStringLiteral("st");
    case 2:
    case 22:
        return QStringLiteral("nd");
    case 3:
    case 23:
        return QStringLiteral("rd");
    default:
        return QStringLiteral("th");
    }
}

QString dayWithSuffix(std::uint32_t day) { return QString::number(day) + daySuffix(day); }

QString daysLabel(std::uint32_t daySet)
{
    QString label;
    // Bits 1..32 are Monday..Saturday, which are entries 1..6 of the Sunday-first names.
    for (int day = 1; day <= 6; ++day) {
        if (daySet & (1u << (day - 1)))
            label += QString::fromLatin1(ShortDayNames[std::size_t(day)]) + QLatin1Char(' ');
    }
    if (daySet & kSundayBit)
        label += QString::fromLatin1(ShortDayNames[0]);
    return label;
}

QString appliesToText(const Tariff &record)
{
    switch (record.AppliesTo) {
    case 1:
        return QStringLiteral("Every day of the week");
    case 2:
        return daysLabel(record.AppliesValue);
    case 3:
        return dayWithSuffix(record.AppliesValue) + QStringLiteral(" Day of the month");
    case 4:
        return monthText(record.AppliesValue);
    case 5:
        return QStringLiteral("Whole Year of ") + QString::number(record.AppliesValue);
    case 6:
        return QStringLiteral("Date of ") + shortDateText(dateOfValue(record.DateFrom));
    case 7:
        return shortDateText(dateOfValue(record.DateFrom)) + QStringLiteral(" to ")
            + shortDateText(dateOfValue(record.DateTo));
    default:
        return QStringLiteral(" ");
    }
}

QString moneyFieldText(MoneyValue amount, const QLocale &locale)
{
    const __int128 magnitude = amount < 0 ? -__int128(amount) : __int128(amount);
    const int beyondCents = int(magnitude % 100);
    if (beyondCents == 0)
        return amountText(amount, locale);
    QString text = amountText(MoneyValue(magnitude - beyondCents), locale) + QString::asprintf("%02d", beyondCents);
    if (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return amount < 0 ? QLatin1Char('-') + text : text;
}

QString moneyHeaderText(const QString &caption, const QString &currencyText)
{
    const QString symbol = currencyText.trimmed();
    return symbol.isEmpty() ? caption : caption + QStringLiteral(" (") + symbol + QLatin1Char(')');
}
