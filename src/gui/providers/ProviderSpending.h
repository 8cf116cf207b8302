#pragma once

#include "core/app/AppCore.h"
#include "core/spending/BudgetCheck.h"

#include <QString>

#include <optional>
#include <utility>

class OnOffSwitch;
class QLabel;
class QLineEdit;
class QSpinBox;
class QWidget;

// The billing month part of the provider account dialog: the cycle so far,
// the projected bill, and the budget with its hang-up choices. Its controls
// sit on the dialog at the skin layout's places; they are writable in the
// dialog's edit mode only.
class ProviderSpending {
public:
    ProviderSpending(AppCore &core, QWidget *dialog);

    void load(int providerIndex);
    void setEditing(bool editing);
    // Stores the budget of the provider; the message for a wrong field
    // instead, leaving everything as it was.
    [[nodiscard]] std::optional<QString> save(int providerIndex);

private:
    AppCore &m_core;
    QLabel *m_cycle;
    QLabel *m_bill;
    QLabel *m_currency;
    QLineEdit *m_money;
    QSpinBox *m_hours;
    OnOffSwitch *m_autoHangUp;
    QSpinBox *m_margin;
    std::pair<QString, MoneyValue> m_loadedMoney; // the money field's text as loaded, and the amount it stands for
};

// Fills a budget or price field with `amount` exactly, empty for none, and
// whole however long.
void loadAmountField(QLineEdit *field, MoneyValue amount);
// What is wrong with an amount typed into a field of the dialog, in the user's words.
QString budgetAmountMessage(BudgetAmountProblem problem, const QString &text);
