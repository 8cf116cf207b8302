#include "core/pricing/CurrentCostRate.h"

#include "core/pricing/TariffSelection.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

namespace {

// Seconds per charging unit; 0 means a unit every second, which is also what
// a unit kind or a pulse length out of range gives.
std::int32_t unitLengthOf(const Tariff &tariff)
{
    switch (tariff.UnitKind) {
    case 1:
        return 60;
    case 3:
        return tariff.SecondsPerPulse > 0 ? tariff.SecondsPerPulse : 0;
    default:
        return 0;
    }
}

} // namespace

int SetCurrentCostRate(const TariffTable &table, CurrentCall &call, const QDateTime &now)
{
    if (table.Count == 0)
        return kNoTariff;
    const int index = SelectTariffAt(table, call.Connected ? fromDateTimeValue(call.CallStart) : now);
    if (index == kNoTariff)
        return kNoTariff;
    loadTariffRate(table, index, call);
    return index;
}

void loadTariffRate(const TariffTable &table, int index, CurrentCall &call)
{
    const Tariff &tariff = table.records[index];
    call.CallTariff = std::uint8_t(index);
    call.UnitLength = unitLengthOf(tariff);
    call.UnitPosition = 0;
    call.CurrentRate = tariff.UnitCost;
    call.Incremental = tariff.ChargeKind == 1;
    if (!call.Incremental && call.Connected)
        call.CallCost = tariff.UnitCost;
    call.StartCharge = addMoney(call.CallCost, tariff.MinCharge);
    if (call.Connected)
        call.CallCost = addMoney(call.CallCost, tariff.MinCharge);
}
