#pragma once

#include "core/spending/BudgetCheck.h"

#include <QString>
#include <QStringList>

#include <optional>

// A budget threshold reached, or about to be passed by the running call's
// next unit: what the main window shows and a desktop notice can tell.
struct BudgetWarning {
    QString provider; // the provider's name as shown
    BudgetUse use; // the budget it concerns: as used now, or once the next unit is charged
    int level = 0; // the threshold passed: 80, 90 or 100
    std::optional<int> inSeconds; // set: the next unit passes it this many seconds from now
    QString text; // the whole message (it may also announce or rule out a hang-up)
};

// "£ 0.15 of £ 0.18" or "21:24 of 10 hours".
QString budgetUseText(const BudgetUse &use, const QString &currencyText);
// "You have used 83 % of this billing month's money budget for Home: £ 0.15 of £ 0.18."
QString budgetReachedText(const QString &provider, const BudgetUse &use, const QString &currencyText);
// "The next unit, in 0:12, takes you to 125 % of this billing month's money budget for Home: £ 0.25 of £ 0.20."
QString budgetAheadText(const QString &provider, const BudgetUse &use, int inSeconds, const QString &currencyText);

// The same after budgetReachedText of the same budget: "The next unit, in 0:12, takes it to 125 %: £ 0.25."
QString budgetAheadAfterText(const BudgetUse &use, int inSeconds, const QString &currencyText);

// The start-up message for a damaged budgets.data: what was wrong, and
// whether it was kept as budgets.data.old (`copyError` empty) or left alone.
QString damagedBudgetsText(const QStringList &problems, const QString &copyError);
// The same for volume.data.
QString damagedVolumePlansText(const QStringList &problems, const QString &copyError);
