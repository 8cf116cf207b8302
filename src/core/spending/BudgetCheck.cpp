#include "core/spending/BudgetCheck.h"

#include "core/store/Money.h"

#include <algorithm>

namespace {

constexpr std::int64_t kMaxPercent = 100000;

} // namespace

std::expected<MoneyValue, FieldProblem> readBudgetAmount(const QString &text, const QLocale &locale)
{
    if (text.trimmed().isEmpty())
        return 0;
    if (text.size() > AccountFieldLimits::kMaxAmountLength)
        return std::unexpected(FieldProblem::AmountTooLarge);
    const auto amount = parseMoney(text, locale);
    if (!amount)
        return std::unexpected(
            amount.error() == MoneyParseError::TooLarge ? FieldProblem::AmountTooLarge : FieldProblem::NotAnAmount);
    if (*amount < 0)
        return std::unexpected(FieldProblem::NegativeAmount);
    return *amount;
}

int budgetHours(const ProviderBudget &budget, int monthlyHourLimit)
{
    return std::max(0, budget.hours.value_or(monthlyHourLimit));
}

std::optional<int> budgetPercent(const ProviderBudget &budget, int monthlyHourLimit, const CycleUsage &usage)
{
    std::optional<std::int64_t> percent;
    if (budget.money > 0)
        percent = std::int64_t(
            std::min<__int128>(__int128(std::max<MoneyValue>(usage.cost, 0)) * 100 / budget.money, kMaxPercent));
    if (const int hours = budgetHours(budget, monthlyHourLimit); hours > 0) {
        const auto byTime = std::int64_t(usage.seconds * 100 / (std::uint64_t(hours) * 3600));
        percent = std::max(percent.value_or(0), byTime);
    }
    if (!percent)
        return std::nullopt;
    return int(std::min(*percent, kMaxPercent));
}

std::optional<int> takeBudgetWarning(ProviderBudget &budget, const BillingCycle &cycle, int percent)
{
    if (budget.warnedCycle != cycle.start) {
        budget.warnedCycle = cycle.start;
        budget.warnedLevels = 0;
    }
    std::optional<int> due;
    int reached = 0;
    for (std::size_t i = 0; i < std::size(kBudgetLevels); ++i) {
        if (percent < kBudgetLevels[i])
            break;
        reached |= 1 << i;
        if (!(budget.warnedLevels & (1 << i)))
            due = kBudgetLevels[i];
    }
    budget.warnedLevels |= reached;
    return due;
}
