#include "core/spending/BudgetCheck.h"

#include "core/store/Money.h"

#include <algorithm>

namespace {

constexpr std::int64_t kMaxPercent = 100000;

int percentOf(std::int64_t used, std::int64_t limit)
{
    return int(std::min<__int128>(__int128(std::max<std::int64_t>(used, 0)) * 100 / limit, kMaxPercent));
}

bool allDigits(const QString &text)
{
    return std::ranges::all_of(text, [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The digits of a whole number written with `separator` between groups of
// three ("12,345"); none when the groups are not thousands.
std::optional<QString> groupedDigits(const QString &whole, const QString &separator)
{
    if (separator.isEmpty() || !whole.contains(separator))
        return allDigits(whole) ? std::optional(whole) : std::nullopt;
    const QStringList groups = whole.split(separator);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        const qsizetype size = groups.at(i).size();
        if (!allDigits(groups.at(i)) || (i == 0 ? size < 1 || size > 3 : size != 3))
            return std::nullopt;
    }
    return groups.join(QString());
}

std::expected<QString, BudgetAmountProblem> decimalNumber(const std::optional<QString> &whole, const QString &fraction)
{
    if (!whole || !allDigits(*whole) || !allDigits(fraction) || (whole->isEmpty() && fraction.isEmpty()))
        return std::unexpected(BudgetAmountProblem::NotAnAmount);
    return (whole->isEmpty() ? QStringLiteral("0") : *whole) + QLatin1Char('.') + fraction;
}

// "digits.digits" from a number as typed, or why not.
std::expected<QString, BudgetAmountProblem> plainNumber(QString s, const QLocale &locale)
{
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    // A blank typed for a blank-like thousands separator.
    if (group.size() == 1 && group.at(0).isSpace())
        s.replace(QLatin1Char(' '), group);
    const QString other = decimal == QLatin1String(".") ? QStringLiteral(",")
        : decimal == QLatin1String(",")                 ? QStringLiteral(".")
                                                        : QString();
    if (s.count(decimal) > 1)
        return std::unexpected(BudgetAmountProblem::NotAnAmount);
    if (const qsizetype at = s.indexOf(decimal); at >= 0)
        return decimalNumber(groupedDigits(s.left(at), group), s.mid(at + decimal.size()));
    if (other.isEmpty() || !s.contains(other)) {
        const auto whole = groupedDigits(s, group);
        return whole && !whole->isEmpty() ? std::expected<QString, BudgetAmountProblem>(*whole)
                                          : std::unexpected(BudgetAmountProblem::NotAnAmount);
    }
    if (other == group)
        if (const auto whole = groupedDigits(s, group))
            return *whole; // thousands, as the locale reads them
    if (s.count(other) != 1)
        return std::unexpected(BudgetAmountProblem::NotAnAmount);
    const qsizetype at = s.indexOf(other);
    // Three digits after a separator the locale does not use could be thousands or decimals.
    if (other != group && s.size() - at - 1 == 3)
        return std::unexpected(BudgetAmountProblem::Ambiguous);
    return decimalNumber(s.left(at), s.mid(at + other.size()));
}

} // namespace

int budgetHours(const ProviderBudget &budget, int monthlyHourLimit)
{
    return std::max(0, budget.hours.value_or(monthlyHourLimit));
}

std::optional<BudgetUse> budgetUse(const ProviderBudget &budget, int monthlyHourLimit, const CycleUsage &usage)
{
    std::optional<BudgetUse> use;
    if (budget.money > 0)
        use = BudgetUse { BudgetKind::Money, percentOf(usage.cost, budget.money), usage.cost, budget.money };
    if (const int hours = budgetHours(budget, monthlyHourLimit); hours > 0) {
        const auto used = std::int64_t(std::min<std::uint64_t>(usage.seconds, INT64_MAX));
        const std::int64_t limit = std::int64_t(hours) * 3600;
        const BudgetUse byTime { BudgetKind::Hours, percentOf(used, limit), used, limit };
        if (!use || byTime.percent > use->percent)
            use = byTime;
    }
    return use;
}

std::expected<MoneyValue, BudgetAmountProblem> readBudgetAmount(const QString &text, const QLocale &locale)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return 0;
    const bool negative = s.startsWith(QLatin1Char('-'));
    if (negative || s.startsWith(QLatin1Char('+')))
        s = s.mid(1).trimmed();
    const auto number = plainNumber(s, locale);
    if (!number)
        return std::unexpected(number.error());
    const auto amount = parseMoney(*number, QLocale::c());
    if (!amount)
        return std::unexpected(amount.error() == MoneyParseError::TooLarge ? BudgetAmountProblem::TooLarge
                                                                           : BudgetAmountProblem::NotAnAmount);
    if (negative && *amount > 0)
        return std::unexpected(BudgetAmountProblem::Negative);
    if (*amount > kMaxBudgetAmount)
        return std::unexpected(BudgetAmountProblem::TooLarge);
    return *amount;
}

int budgetLevelsAt(int percent)
{
    int levels = 0;
    for (std::size_t i = 0; i < std::size(kBudgetLevels); ++i)
        if (percent >= kBudgetLevels[i])
            levels |= 1 << i;
    return levels;
}

int highestBudgetLevel(int levels)
{
    int highest = 0;
    for (std::size_t i = 0; i < std::size(kBudgetLevels); ++i)
        if (levels & (1 << i))
            highest = kBudgetLevels[i];
    return highest;
}

void markBudgetLevels(ProviderBudget &budget, const BillingCycle &cycle, int percent)
{
    if (budget.warnedCycle != cycle.start) {
        budget.warnedCycle = cycle.start;
        budget.warnedLevels = 0;
    }
    budget.warnedLevels |= budgetLevelsAt(percent);
}
