#include "core/store/SpendingFile.h"

#include "core/store/Cp1252.h"
#include "core/store/IniDocument.h"
#include "core/store/SettingsFile.h"

#include <algorithm>

namespace {

const QString kGeneral = QStringLiteral("Spending");
const QString kBudgetPrefix = QStringLiteral("Budget.");
constexpr int kMaxMargin = 59;

std::optional<std::int64_t> integer(const IniDocument &document, const QString &section, const QString &key)
{
    const auto text = document.value(section, key);
    return text ? parseSettingsInteger(*text) : std::nullopt;
}

QString oneLine(QString text) { return text.remove(QLatin1Char('\r')).remove(QLatin1Char('\n')); }

} // namespace

namespace spendingfile {

SpendingPlan parse(const QByteArray &bytes)
{
    const IniDocument document = IniDocument::parse(cp1252::decode(bytes));
    SpendingPlan plan;
    if (const auto margin = integer(document, kGeneral, QStringLiteral("HangUpBeforeUnitSeconds")))
        plan.hangUpMarginSeconds = int(std::clamp<std::int64_t>(*margin, 1, kMaxMargin));
    for (const QString &section : document.sections()) {
        if (!section.startsWith(kBudgetPrefix, Qt::CaseInsensitive))
            continue;
        const auto name = document.value(section, QStringLiteral("Name"));
        if (!name || name->isEmpty())
            continue;
        ProviderBudget budget;
        if (const auto money = integer(document, section, QStringLiteral("Money")); money && *money > 0)
            budget.money = *money;
        if (const auto hours = integer(document, section, QStringLiteral("Hours")); hours && *hours >= 0)
            budget.hours = int(std::min<std::int64_t>(*hours, 65534));
        if (const auto hangUp = integer(document, section, QStringLiteral("AutoHangUp")))
            budget.autoHangUp = *hangUp != 0;
        if (const auto cycle = document.value(section, QStringLiteral("WarnedCycle")))
            budget.warnedCycle = QDate::fromString(*cycle, Qt::ISODate);
        if (const auto levels = integer(document, section, QStringLiteral("WarnedLevels")))
            budget.warnedLevels = int(*levels & 7);
        plan.budgets.insert(*name, budget);
    }
    return plan;
}

QByteArray serialise(const SpendingPlan &plan)
{
    IniDocument document;
    document.setValue(kGeneral, QStringLiteral("HangUpBeforeUnitSeconds"), QString::number(plan.hangUpMarginSeconds));
    // Sorted, so the file does not reshuffle from one save to the next.
    QStringList names = plan.budgets.keys();
    names.sort();
    int index = 0;
    for (const QString &name : names) {
        const ProviderBudget &budget = plan.budgets[name];
        const QString section = kBudgetPrefix + QString::number(index++);
        document.setValue(section, QStringLiteral("Name"), oneLine(name));
        document.setValue(section, QStringLiteral("Money"), QString::number(budget.money));
        if (budget.hours)
            document.setValue(section, QStringLiteral("Hours"), QString::number(*budget.hours));
        document.setValue(
            section, QStringLiteral("AutoHangUp"), budget.autoHangUp ? QStringLiteral("1") : QStringLiteral("0"));
        document.setValue(section, QStringLiteral("WarnedCycle"), budget.warnedCycle.toString(Qt::ISODate));
        document.setValue(section, QStringLiteral("WarnedLevels"), QString::number(budget.warnedLevels));
    }
    return cp1252::encode(document.toText());
}

} // namespace spendingfile
