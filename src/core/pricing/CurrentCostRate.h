#pragma once

#include "core/pricing/TariffSelection.h" // kNoTariff
#include "core/store/CurrentCall.h"
#include "core/store/Tariff.h"

#include <QDateTime>

// Chooses the tariff in force and loads its rate into the call: for the
// call's start while connected, otherwise for `now`. When no tariff applies
// the call keeps the values it has. Returns the tariff's index, or kNoTariff.
int SetCurrentCostRate(const TariffTable &table, CurrentCall &call, const QDateTime &now);

// Loads the tariff at `index` of the table into the call, as SetCurrentCostRate does once it has chosen it.
void loadTariffRate(const TariffTable &table, int index, CurrentCall &call);
