#pragma once

#include "connection/CurrentCall.h"
#include "tariffs/Tariff.h"

#include <QLocale>
#include <QString>

#include <optional>

// The main window's text for the tariff in force: its name, its rate per
// minute and whether that is charged per minute or per call.
struct RateCaption {
    QString caption;
    std::optional<QString> hint; // none: the hint keeps what it showed
};

// For the tariff at the call's CallTariff, with the rate the call holds.
RateCaption rateCaption(const TariffTable &table, const CurrentCall &call, const QString &currencyText,
                        const QLocale &locale = QLocale());
