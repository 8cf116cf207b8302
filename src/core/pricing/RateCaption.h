#pragma once

#include "core/store/CurrentCall.h"
#include "core/store/Tariff.h"

#include <QLocale>
#include <QString>

#include <optional>

// The main window's text for the tariff in force: its name, its rate per
// minute and whether that is charged per minute or per call.
struct RateCaption {
    QString caption;
    std::optional<QString> hint; // none: the hint keeps what it showed
};

// A unit's cost per minute, to the nearest 1/10000; a unit length of 0 (or
// less) is a unit every second.
MoneyValue perMinuteRate(MoneyValue unitCost, std::int32_t unitLength);

// For the tariff at the call's CallTariff, with the rate the call holds.
RateCaption rateCaption(
    const TariffTable &table, const CurrentCall &call, const QString &currencyText, const QLocale &locale = QLocale());
