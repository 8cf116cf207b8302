#pragma once

#include "core/store/Tariff.h"
#include "core/store/Values.h"

#include <cstdint>

// What a finished call leaves with the tariff it was charged under. `index`
// is a TariffTable index; one not below the count names no tariff.

// The tariff byte of the call record: the low 8 bits of the tariff's IdNumber, 0 for no tariff.
std::uint8_t loggedTariffId(const TariffTable &table, int index);

// Counts the call and adds its seconds and cost to the tariff's totals.
void addCallToTariff(TariffTable &table, int index, std::uint32_t seconds, MoneyValue cost);
