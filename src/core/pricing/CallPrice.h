#pragma once

#include "core/pricing/TariffSelection.h"
#include "core/store/CurrentCall.h"
#include "core/store/Tariff.h"

#include <QDateTime>

#include <cstdint>

// A connected call as it begins at `start` (whole seconds): nothing charged
// yet, then the rate of the tariff in force at `start` with its minimum
// charge and single charge. Returns the tariff's index, or kNoTariff.
int beginCallCost(CurrentCall &call, const TariffTable &tariffs, const QDateTime &start);

// Runs `seconds` seconds of the call's own cost: a unit is charged on every
// second that begins one. Returns how many units began.
std::uint32_t chargeCallSeconds(CurrentCall &call, std::uint32_t seconds);

// What a call of `seconds` begun at `start` costs under `tariffs`, charged
// exactly as a live call is. 1/10000 of money; 0 with no tariff in force.
struct CallPrice {
    int tariffIndex = 0; // TariffTable index, or kNoTariff
    MoneyValue cost = 0;
};
CallPrice priceCall(const TariffTable &tariffs, const QDateTime &start, std::uint32_t seconds);
// The same for a start given by its calendar parts: for a day on which the
// clocks do not change it prices exactly as the above, without a time zone
// lookup for every call.
CallPrice priceCall(const TariffTable &tariffs, const TariffMoment &start, std::uint32_t seconds);
