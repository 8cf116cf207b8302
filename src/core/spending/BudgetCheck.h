#pragma once

#include "core/providers/ProviderAccountForm.h"
#include "core/spending/BillingCycle.h"
#include "core/spending/CycleUsage.h"
#include "core/store/SpendingPlan.h"

#include <expected>

#include <optional>

// The hour budget in force: the budget's own, else the account's monthly
// hour limit; 0 means none.
int budgetHours(const ProviderBudget &budget, int monthlyHourLimit);

// How much of the budget the usage has taken, in whole percent (the larger
// of money and hours); none without a budget.
std::optional<int> budgetPercent(const ProviderBudget &budget, int monthlyHourLimit, const CycleUsage &usage);

// A money budget as typed: empty or zero is no money budget.
[[nodiscard]] std::expected<MoneyValue, FieldProblem> readBudgetAmount(
    const QString &text, const QLocale &locale = QLocale());

// The warning level (80, 90 or 100) to show now, if any. Each level is shown
// once per cycle; when the usage leaps over several at once only the highest
// is shown and the ones below count as shown. A new cycle forgets the old
// cycle's warnings. Updates the budget's record of what was shown.
std::optional<int> takeBudgetWarning(ProviderBudget &budget, const BillingCycle &cycle, int percent);
