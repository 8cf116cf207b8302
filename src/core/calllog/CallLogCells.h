#pragma once

#include "core/store/Records.h"
#include "core/store/Settings.h" // kCallLogColumns
#include "core/store/Tariff.h"

#include <QLocale>
#include <QString>

// The texts of the call log grid's eight columns.

inline constexpr int kTariffColumn = 5;
inline constexpr int kCostColumn = 6; // drawn right-aligned
inline constexpr int kConnectionColumn = 7;

// Column titles; the cost column's is the currency text and "Cost".
QString callLogHeaderText(int column, const QString &currencyText);

// The cell of `column` for one call. Date and time bytes are shown as they
// are, impossible ones included; a tariff id that no tariff has reads "7 ?".
QString callLogCellText(const CallRecord &call, int column, const ProviderTable &providers, const TariffTable &tariffs,
    const QLocale &locale = QLocale());
