#include "core/spending/BudgetWarning.h"

#include "core/pricing/NextUnit.h"
#include "core/spending/DataAllowance.h"
#include "core/store/Money.h"
#include "core/store/SpendingFile.h"
#include "core/store/VolumePlanFile.h"

namespace {

constexpr int kProblemsShown = 3;

QString budgetName(BudgetKind kind)
{
    switch (kind) {
    case BudgetKind::Hours:
        return QStringLiteral("hours");
    case BudgetKind::Data:
        return QStringLiteral("data");
    case BudgetKind::Money:
        break;
    }
    return QStringLiteral("money");
}

} // namespace

QString budgetUseText(const BudgetUse &use, const QString &currencyText)
{
    if (use.kind == BudgetKind::Data)
        return QStringLiteral("%1 of %2").arg(dataAmountText(use.used), dataAmountText(use.limit));
    if (use.kind == BudgetKind::Money)
        return QStringLiteral("%1 of %2")
            .arg(moneyText(use.used, currencyText).trimmed(), moneyText(use.limit, currencyText).trimmed());
    const std::int64_t minutes = use.used / 60;
    return QStringLiteral("%1:%2 of %3 hours")
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(use.limit / 3600);
}

QString budgetReachedText(const QString &provider, const BudgetUse &use, const QString &currencyText)
{
    return QStringLiteral("You have used %1 % of this billing month's %2 budget for %3: %4.")
        .arg(use.percent)
        .arg(budgetName(use.kind), provider, budgetUseText(use, currencyText));
}

QString budgetAheadText(const QString &provider, const BudgetUse &use, int inSeconds, const QString &currencyText)
{
    return QStringLiteral("The next unit, in %1, takes you to %2 % of this billing month's %3 budget for %4: %5.")
        .arg(minutesAndSeconds(inSeconds))
        .arg(use.percent)
        .arg(budgetName(use.kind), provider, budgetUseText(use, currencyText));
}

QString budgetAheadAfterText(const BudgetUse &use, int inSeconds, const QString &currencyText)
{
    const QString used = use.kind == BudgetKind::Money
        ? moneyText(use.used, currencyText).trimmed()
        : budgetUseText(use, currencyText).section(QLatin1Char(' '), 0, 0);
    return QStringLiteral("The next unit, in %1, takes it to %2 %: %3.")
        .arg(minutesAndSeconds(inSeconds))
        .arg(use.percent)
        .arg(used);
}

namespace {

QString damagedPlanFileText(const QString &fileName, const QString &copyName, const QString &changes,
    const QStringList &problems, const QString &copyError)
{
    QString text = copyError.isEmpty()
        ? QStringLiteral("%1 was damaged. It has been kept as %2, and what could be read from it is in use:")
              .arg(fileName, copyName)
        : QStringLiteral("%1 is damaged and could not be kept as %2 (%3), so it is left as it is and %4 "
                         "changes are not saved. What could be read from it is in use:")
              .arg(fileName, copyName, copyError, changes);
    text += QLatin1Char('\r');
    for (const QString &problem : problems.first(std::min<qsizetype>(problems.size(), kProblemsShown)))
        text += QLatin1Char('\r') + problem;
    if (problems.size() > kProblemsShown)
        text += QStringLiteral("\rand %1 more.").arg(problems.size() - kProblemsShown);
    return text;
}

} // namespace

QString damagedBudgetsText(const QStringList &problems, const QString &copyError)
{
    return damagedPlanFileText(
        spendingfile::kFileName, spendingfile::kDamagedCopy, QStringLiteral("budget"), problems, copyError);
}

QString damagedVolumePlansText(const QStringList &problems, const QString &copyError)
{
    return damagedPlanFileText(
        volumeplanfile::kFileName, volumeplanfile::kDamagedCopy, QStringLiteral("data plan"), problems, copyError);
}
