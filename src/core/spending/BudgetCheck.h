#pragma once

#include "core/spending/BillingCycle.h"
#include "core/spending/CycleUsage.h"
#include "core/store/SpendingPlan.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <expected>
#include <optional>

// The hour budget in force: the budget's own, else the account's monthly
// hour limit; 0 means none.
int budgetHours(const ProviderBudget &budget, int monthlyHourLimit);

enum class BudgetKind { Money, Hours, Data };

// How far one of a provider's budgets is used.
struct BudgetUse {
    BudgetKind kind = BudgetKind::Money;
    int percent = 0; // whole percent, at most 100000
    std::int64_t used = 0; // 1/10000 of money, seconds, or bytes
    std::int64_t limit = 0; // 1/10000 of money, seconds, or bytes
};

// The budget the usage has taken more of (money on a tie); none without a
// budget.
std::optional<BudgetUse> budgetUse(const ProviderBudget &budget, int monthlyHourLimit, const CycleUsage &usage);

enum class BudgetAmountProblem {
    NotAnAmount,
    Ambiguous, // "1.500" where '.' is neither the decimal point nor the thousands separator
    TooLarge,
    Negative,
};

// The largest money budget or block price, 9,999,999,999.9999: to four
// decimals and grouped, its text still fits the account dialog's field whole.
inline constexpr MoneyValue kMaxBudgetAmount = 99'999'999'999'999;

// A money budget as typed: empty or zero is no money budget; more than
// kMaxBudgetAmount is TooLarge. Read by the
// locale's separators; the other of '.' and ',' is a decimal point where it
// cannot be a thousands separator ("1,5" and "1,50" are 1.50 in any locale).
[[nodiscard]] std::expected<MoneyValue, BudgetAmountProblem> readBudgetAmount(
    const QString &text, const QLocale &locale = QLocale());

// The thresholds `percent` has reached, as bits like ProviderBudget::warnedLevels.
int budgetLevelsAt(int percent);
// The highest threshold among such bits, in percent; 0 for none.
int highestBudgetLevel(int levels);

// Records the thresholds `percent` has reached as shown in `cycle`; each is
// shown once per cycle, and when the usage leaps over several at once the
// ones below the highest count as shown too. A new cycle forgets the old
// cycle's warnings.
void markBudgetLevels(ProviderBudget &budget, const BillingCycle &cycle, int percent);
