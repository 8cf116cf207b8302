#include "gui/providers/ProviderSpending.h"

#include "core/skins/SkinLayout.h"
#include "core/spending/BudgetCheck.h"
#include "core/spending/SpendingSummary.h"
#include "core/store/Money.h"
#include "gui/controls/OnOffSwitch.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

namespace {

namespace Layout = SkinLayout::ProviderDialog;

constexpr int kHoursFromLimit = -1; // the spinner's value for "the account's monthly limit"

QLabel *valueLabel(QWidget *dialog, const char *name, const QRect &rect)
{
    auto *label = new QLabel(dialog);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setTextFormat(Qt::PlainText);
    label->setIndent(4);
    return label;
}

QSpinBox *spinner(QWidget *dialog, const char *name, const QRect &rect, int minimum, int maximum)
{
    auto *spin = new QSpinBox(dialog);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setGeometry(rect);
    spin->setRange(minimum, maximum);
    return spin;
}

QString fieldMessage(FieldProblem problem, const QString &text)
{
    const QString quoted = QLatin1Char('"') + text + QLatin1Char('"');
    switch (problem) {
    case FieldProblem::AmountTooLarge:
        return quoted + QStringLiteral(" is too large an amount.");
    case FieldProblem::NegativeAmount:
        return quoted + QStringLiteral(" is less than nothing.");
    default:
        return quoted + QStringLiteral(" is not an amount of money.");
    }
}

} // namespace

ProviderSpending::ProviderSpending(AppCore &core, QWidget *dialog)
    : m_core(core)
    , m_cycle(valueLabel(dialog, "LabelBillingMonth", Layout::BillingMonth))
    , m_bill(valueLabel(dialog, "LabelBillProjection", Layout::BillProjection))
    , m_currency(valueLabel(dialog, "BudgetCurrency", Layout::BudgetCurrency))
    , m_money(new QLineEdit(dialog))
    , m_hours(spinner(dialog, "BudgetHours", Layout::BudgetHours, kHoursFromLimit, AccountFieldLimits::kMaxHourLimit))
    , m_autoHangUp(new OnOffSwitch(dialog))
    , m_margin(spinner(dialog, "HangUpMargin", Layout::HangUpMargin, 1, 59))
{
    m_currency->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_money->setObjectName(QStringLiteral("BudgetMoney"));
    m_money->setGeometry(Layout::BudgetMoney);
    m_money->setMaxLength(AccountFieldLimits::kMaxAmountLength);
    m_money->setAlignment(Qt::AlignRight);
    m_money->setToolTip(QStringLiteral(" Warnings at 80, 90 and 100 % of this amount; empty for none"));
    m_hours->setSpecialValueText(QStringLiteral("limit"));
    m_hours->setToolTip(QStringLiteral(" Hours each billing month; \"limit\" uses the monthly limit of hours, 0 none"));
    m_autoHangUp->setObjectName(QStringLiteral("AutoHangUp"));
    m_autoHangUp->setGeometry(Layout::AutoHangUp);
    m_autoHangUp->setToolTip(QStringLiteral(" At 100 %, hang up after a 10-second countdown you can cancel"));
    m_margin->setToolTip(QStringLiteral(" How many seconds before the next unit an armed hang-up ends the call"));
    setEditing(false);
}

void ProviderSpending::load(int providerIndex)
{
    const SpendingSummary summary = spendingSummary(m_core, providerIndex, m_core.clock().now());
    m_cycle->setText(summary.cycle);
    m_bill->setText(summary.bill);
    m_bill->setToolTip(summary.billHint);
    m_currency->setText(m_core.currencyText().trimmed());

    const Provider &provider = m_core.providers().records[providerIndex];
    const ProviderBudget budget = m_core.spending().budgets.value(provider.Name.text());
    m_money->setText(budget.money > 0 ? amountText(budget.money) : QString());
    m_hours->setValue(budget.hours.value_or(kHoursFromLimit));
    m_autoHangUp->setChecked(budget.autoHangUp);
    m_margin->setValue(m_core.spending().hangUpMarginSeconds);
}

void ProviderSpending::setEditing(bool editing)
{
    m_money->setReadOnly(!editing);
    m_hours->setReadOnly(!editing);
    m_margin->setReadOnly(!editing);
    m_autoHangUp->setEnabled(editing);
}

std::optional<QString> ProviderSpending::save(int providerIndex)
{
    const auto money = readBudgetAmount(m_money->text());
    if (!money)
        return QStringLiteral("Budget each month:\r") + fieldMessage(money.error(), m_money->text());
    SpendingPlan &plan = m_core.spending();
    plan.hangUpMarginSeconds = m_margin->value();
    const QString name = m_core.providers().records[providerIndex].Name.text();
    ProviderBudget budget = plan.budgets.value(name);
    const auto hours = m_hours->value() == kHoursFromLimit ? std::nullopt : std::optional(m_hours->value());
    // A new budget has new thresholds; the same budget keeps the warnings given.
    if (budget.money != *money || budget.hours != hours)
        budget.warnedLevels = 0;
    budget.money = *money;
    budget.hours = hours;
    budget.autoHangUp = m_autoHangUp->isChecked();
    plan.budgets.insert(name, budget);
    return std::nullopt;
}
