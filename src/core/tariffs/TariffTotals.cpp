#include "core/tariffs/TariffTotals.h"

#include "core/store/Money.h"

namespace {

bool inUse(const TariffTable &table, int index) { return index >= 0 && index < table.Count && index < kMaxTariffs; }

} // namespace

std::uint8_t loggedTariffId(const TariffTable &table, int index)
{
    return inUse(table, index) ? std::uint8_t(table.records[index].IdNumber & 0xFF) : 0;
}

void addCallToTariff(TariffTable &table, int index, std::uint32_t seconds, MoneyValue cost)
{
    if (!inUse(table, index))
        return;
    Tariff &tariff = table.records[index];
    ++tariff.CallCount;
    tariff.TotalSeconds += seconds;
    tariff.TotalCost = addMoney(tariff.TotalCost, cost);
}
