#include "gui/providers/ProviderSpending.h"

#include "core/skins/SkinLayout.h"
#include "core/spending/BudgetCheck.h"
#include "core/spending/SpendingSummary.h"
#include "core/store/Money.h"
#include "gui/controls/OnOffSwitch.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolTip>

namespace {

namespace Layout = SkinLayout::ProviderDialog;

constexpr int kHoursFromLimit = -1; // the spinner's value for "the account's monthly limit"
constexpr int kMaxBudgetLength = 18; // "9,999,999,999.9999", the largest budget

QLabel *valueLabel(QWidget *dialog, const char *name, const QRect &rect)
{
    auto *label = new QLabel(dialog);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setTextFormat(Qt::PlainText);
    label->setIndent(4);
    return label;
}

bool hasDecimalMark(const QString &text)
{
    return text.contains(QLatin1Char('.')) || text.contains(QLatin1Char(','))
        || text.contains(QLocale().decimalPoint());
}

// Hours are whole. A decimal point typed stays in sight, so that Save can
// refuse it, rather than being dropped (which made "0.5" read as 5); leaving
// the field puts the last whole number back and says so.
class WholeHoursSpinBox final : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString &text, int &position) const override
    {
        const QValidator::State state = QSpinBox::validate(text, position);
        return state == QValidator::Invalid && hasDecimalMark(text) ? QValidator::Intermediate : state;
    }
    void focusOutEvent(QFocusEvent *event) override
    {
        if (hasDecimalMark(text()))
            QToolTip::showText(mapToGlobal(QPoint(0, height())),
                QStringLiteral(" Whole hours only: \"%1\" was not taken").arg(text()), this);
        QSpinBox::focusOutEvent(event);
    }
};

template <typename SpinBox = QSpinBox>
QSpinBox *spinner(QWidget *dialog, const char *name, const QRect &rect, int minimum, int maximum)
{
    auto *spin = new SpinBox(dialog);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setGeometry(rect);
    spin->setRange(minimum, maximum);
    return spin;
}

} // namespace

ProviderSpending::ProviderSpending(AppCore &core, QWidget *dialog)
    : m_core(core)
    , m_cycle(valueLabel(dialog, "LabelBillingMonth", Layout::BillingMonth))
    , m_bill(valueLabel(dialog, "LabelBillProjection", Layout::BillProjection))
    , m_currency(valueLabel(dialog, "BudgetCurrency", Layout::BudgetCurrency))
    , m_money(new QLineEdit(dialog))
    , m_hours(spinner<WholeHoursSpinBox>(
          dialog, "BudgetHours", Layout::BudgetHours, kHoursFromLimit, ProviderBudget::kMaxHours))
    , m_autoHangUp(new OnOffSwitch(dialog))
    , m_margin(spinner(dialog, "HangUpMargin", Layout::HangUpMargin, 1, SpendingPlan::kMaxHangUpMargin))
{
    m_currency->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_cycle->setToolTip(QStringLiteral(" Billing month: the calls from the day your provider's month starts on "
                                       "(\"Month starts on which day\") until today, as the bill counts them"));
    m_money->setObjectName(QStringLiteral("BudgetMoney"));
    m_money->setGeometry(Layout::BudgetMoney);
    m_money->setMaxLength(kMaxBudgetLength);
    m_money->setAlignment(Qt::AlignRight);
    m_money->setToolTip(QStringLiteral(" Warnings at 80, 90 and 100 % of this amount; empty for none"));
    m_hours->setSpecialValueText(QStringLiteral("limit"));
    m_hours->setToolTip(QStringLiteral(" Hours each billing month; \"limit\" uses the monthly limit of hours, 0 none"));
    m_autoHangUp->setObjectName(QStringLiteral("AutoHangUp"));
    m_autoHangUp->setGeometry(Layout::AutoHangUp);
    m_autoHangUp->setToolTip(QStringLiteral(
        " At 100 % of the budget or the data allowance, hang up after a 10-second countdown you can cancel"));
    m_margin->setToolTip(QStringLiteral(" How many seconds before the next unit an armed hang-up ends the call"));
    setEditing(false);
}

void ProviderSpending::load(int providerIndex)
{
    const SpendingSummary summary = spendingSummary(spendingParts(m_core), providerIndex, m_core.clock().now());
    m_cycle->setText(summary.cycle);
    m_bill->setText(summary.bill);
    m_bill->setToolTip(summary.billHint);
    m_currency->setText(m_core.currencyText().trimmed());

    const Provider &provider = m_core.providers().records[providerIndex];
    const ProviderBudget budget = m_core.spending().budgets.value(provider.Name.text());
    loadAmountField(m_money, budget.money);
    m_loadedMoney = { m_money->text(), budget.money };
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
    // Shown to two decimals: an untouched amount keeps the digits beyond them.
    const auto money = m_money->text() == m_loadedMoney.first
        ? std::expected<MoneyValue, BudgetAmountProblem>(m_loadedMoney.second)
        : readBudgetAmount(m_money->text());
    if (!money)
        return QStringLiteral("Budget each month:\r") + budgetAmountMessage(money.error(), m_money->text());
    if (!m_hours->hasAcceptableInput())
        return QStringLiteral("Hours each month:\r\"%1\" is not a whole number of hours from 0 to %2.")
            .arg(m_hours->text())
            .arg(ProviderBudget::kMaxHours);
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

void loadAmountField(QLineEdit *field, MoneyValue amount)
{
    const QString text = amount > 0 ? exactAmountText(amount) : QString();
    // Whole, however long: a larger amount from an older file must not be cut.
    field->setMaxLength(std::max<int>(kMaxBudgetLength, int(text.size())));
    field->setText(text);
    field->setCursorPosition(0);
}

QString budgetAmountMessage(BudgetAmountProblem problem, const QString &text)
{
    const QString quoted = QLatin1Char('"') + text.trimmed() + QLatin1Char('"');
    switch (problem) {
    case BudgetAmountProblem::TooLarge:
        return quoted + QStringLiteral(" is too large an amount: at most %1.").arg(exactAmountText(kMaxBudgetAmount));
    case BudgetAmountProblem::Negative:
        return quoted + QStringLiteral(" is less than nothing.");
    case BudgetAmountProblem::Ambiguous:
        return quoted
            + QStringLiteral(" could be thousands or decimals: please write decimals after \"%1\".")
                  .arg(QLocale().decimalPoint());
    case BudgetAmountProblem::NotAnAmount:
        break;
    }
    return quoted + QStringLiteral(" is not an amount of money.");
}
