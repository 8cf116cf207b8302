#include "core/store/Money.h"

#include <limits>

namespace {

// Whole hundredths, rounded half away from zero.
__int128 cents(MoneyValue amount)
{
    const __int128 value = amount;
    return value >= 0 ? (value + 50) / 100 : (value - 50) / 100;
}

// `scaled` in units of 10^-decimals (2 or 4). Once a second for the main
// window and once per row of a report: written digit by digit into one string.
QString formatScaled(__int128 scaled, int decimals, const QLocale &locale, bool grouped)
{
    // Any MoneyValue, even the most negative, has its magnitude in 64 bits.
    const auto magnitude = std::uint64_t(scaled < 0 ? -scaled : scaled);
    const std::uint64_t divisor = decimals == 4 ? 10000 : 100;
    std::uint64_t fraction = magnitude % divisor;
    std::uint64_t whole = magnitude / divisor;
    char digits[24]; // least significant first
    int count = 0;
    do {
        digits[count++] = char('0' + int(whole % 10));
        whole /= 10;
    } while (whole > 0);
    const QString separator = grouped ? locale.groupSeparator() : QString();
    QString text;
    text.reserve(count + count / 3 * separator.size() + 8);
    if (scaled < 0)
        text += QLatin1Char('-');
    for (int i = count - 1; i >= 0; --i) {
        text += QLatin1Char(digits[i]);
        if (i > 0 && i % 3 == 0)
            text += separator;
    }
    text += locale.decimalPoint();
    for (std::uint64_t place = divisor / 10; place > 0; place /= 10) {
        text += QLatin1Char(char('0' + int(fraction / place)));
        fraction %= place;
    }
    return text;
}

QString formatCents(MoneyValue amount, const QLocale &locale, bool grouped)
{
    return formatScaled(cents(amount), 2, locale, grouped);
}

} // namespace

QString amountText(MoneyValue amount, const QLocale &locale) { return formatCents(amount, locale, true); }

QString exactAmountText(MoneyValue amount, const QLocale &locale)
{
    if (amount % 100 == 0)
        return formatScaled(amount / 100, 2, locale, true);
    return formatScaled(amount, 4, locale, true);
}

QString paddedAmountText(MoneyValue amount, int width, const QLocale &locale)
{
    return amountText(amount, locale).rightJustified(width, QLatin1Char(' '));
}

QString fixedAmountText(MoneyValue amount, int width, const QLocale &locale)
{
    return formatCents(amount, locale, false).rightJustified(width, QLatin1Char(' '));
}

QString moneyText(MoneyValue amount, const QString &currencyText, const QLocale &locale)
{
    QString number = amountText(amount, locale);
    // Without a symbol the text's blank would stand before the number, and
    // "cost " + money would read "cost  1.50".
    if (currencyText.trimmed().isEmpty())
        return number;
    if (number.startsWith(QLatin1Char('-')))
        return QLatin1Char('-') + currencyText + number.mid(1);
    return currencyText + number;
}

std::expected<MoneyValue, MoneyParseError> parseMoney(const QString &text, const QLocale &locale)
{
    QString s = text.trimmed();
    bool negative = false;
    if (s.startsWith(QLatin1Char('-')) || s.startsWith(QLatin1Char('+'))) {
        negative = s.startsWith(QLatin1Char('-'));
        s = s.mid(1).trimmed();
    }
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    __int128 whole = 0;
    __int128 fraction = 0; // first five decimals, the fifth for rounding
    int fractionDigits = 0;
    bool sticky = false; // a non-zero digit beyond the fifth
    bool inFraction = false;
    bool anyDigit = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isDigit() && c.unicode() < 128) {
            anyDigit = true;
            const int digit = c.unicode() - '0';
            if (!inFraction) {
                whole = whole * 10 + digit;
                if (whole > std::numeric_limits<MoneyValue>::max() / kMoneyUnit)
                    return std::unexpected(MoneyParseError::TooLarge);
            } else if (fractionDigits < 5) {
                fraction = fraction * 10 + digit;
                ++fractionDigits;
            } else if (digit != 0) {
                sticky = true;
            }
        } else if (!inFraction && (QString(c) == decimal || c == QLatin1Char('.'))
            && !(c == QLatin1Char('.') && group == QLatin1String("."))) {
            inFraction = true;
        } else if (!inFraction && !group.isEmpty() && QString(c) == group) {
            continue;
        } else {
            return std::unexpected(MoneyParseError::NotAnAmount);
        }
    }
    if (!anyDigit)
        return std::unexpected(MoneyParseError::NotAnAmount);
    while (fractionDigits < 5) {
        fraction *= 10;
        ++fractionDigits;
    }
    __int128 units = whole * kMoneyUnit + fraction / 10;
    const int roundDigit = int(fraction % 10);
    if (roundDigit > 5 || (roundDigit == 5 && (sticky || units % 2 != 0)))
        ++units;
    if (units > std::numeric_limits<MoneyValue>::max())
        return std::unexpected(MoneyParseError::TooLarge);
    return MoneyValue(negative ? -units : units);
}

MoneyValue addMoney(MoneyValue a, MoneyValue b)
{
    MoneyValue sum = 0;
    if (!__builtin_add_overflow(a, b, &sum))
        return sum;
    return b > 0 ? std::numeric_limits<MoneyValue>::max() : std::numeric_limits<MoneyValue>::min();
}

MoneyValue scaleMoney(MoneyValue value, std::int64_t numerator, std::int64_t denominator)
{
    if (denominator == 0)
        return 0;
    __int128 product = __int128(value) * numerator;
    if (denominator < 0) {
        product = -product;
        denominator = -denominator;
    }
    const __int128 half = denominator / 2;
    __int128 result = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
    if (result > std::numeric_limits<MoneyValue>::max())
        result = std::numeric_limits<MoneyValue>::max();
    if (result < std::numeric_limits<MoneyValue>::min())
        result = std::numeric_limits<MoneyValue>::min();
    return MoneyValue(result);
}
