#pragma once

#include "core/store/Values.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <optional>

// Warning thresholds of a budget, in percent, lowest first.
inline constexpr int kBudgetLevels[] = { 80, 90, 100 };

// A provider's budget for each billing cycle, and which warnings its current
// cycle has already given.
struct ProviderBudget {
    // A month has at most 744 hours; the field takes four digits.
    static constexpr int kMaxHours = 9999;

    MoneyValue money = 0; // 1/10000 of money; 0: no money budget
    std::optional<int> hours; // 0 to kMaxHours; none: the account's monthly hour limit; 0: no hour budget
    bool autoHangUp = false; // hang up at 100 % after a countdown the user can cancel
    QDate warnedCycle; // start of the cycle the warnings below belong to
    int warnedLevels = 0; // bit i: kBudgetLevels[i] was shown in warnedCycle
};

// Everything the spending control remembers, kept in a file of its own.
struct SpendingPlan {
    static constexpr int kDefaultHangUpMargin = 3;
    static constexpr int kMaxHangUpMargin = 59;

    int hangUpMarginSeconds = kDefaultHangUpMargin; // 1 to kMaxHangUpMargin: hang up this long before the next unit
    QHash<QString, ProviderBudget> budgets; // by provider name
};
