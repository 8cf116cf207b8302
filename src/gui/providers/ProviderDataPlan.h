#pragma once

#include "core/app/AppCore.h"

#include <QString>

#include <cstdint>
#include <expected>
#include <utility>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QWidget;

// The data plan part of the provider account dialog: the allowance each
// billing month and the price of the blocks beyond it. Its controls sit on
// the dialog at the skin layout's places; they are writable in edit mode only.
class ProviderDataPlan {
public:
    ProviderDataPlan(AppCore &core, QWidget *dialog);

    void load(int providerIndex);
    void setEditing(bool editing);
    // The plan as the fields give it, or the message for a wrong field.
    [[nodiscard]] std::expected<VolumePlan, QString> read(int providerIndex) const;
    // Stores a plan read(); a changed allowance forgets the warnings given.
    void store(int providerIndex, const VolumePlan &plan);

private:
    AppCore &m_core;
    QDoubleSpinBox *m_allowance;
    QComboBox *m_allowanceUnit;
    QComboBox *m_counts;
    QDoubleSpinBox *m_block;
    QComboBox *m_blockUnit;
    QLabel *m_currency;
    QLineEdit *m_price;
    std::pair<QString, MoneyValue> m_loadedPrice; // the price field's text as loaded, and the amount it stands for
    // A size as loaded: what its spinner and unit showed, and the bytes they stand for.
    struct LoadedSize {
        double value = 0;
        int unit = 0;
        std::int64_t bytes = 0;
    };
    LoadedSize m_loadedAllowance;
    LoadedSize m_loadedBlock;
};
