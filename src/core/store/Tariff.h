#pragma once

#include "core/store/CountedString.h"
#include "core/store/Values.h"

#include <cstddef>
#include <cstdint>

// One charging rule, laid out byte for byte as Tariffs.data holds it.

#pragma pack(push, 1)

struct Tariff {
    std::uint32_t IdNumber; // unique, never reused
    CountedString<64> Name;
    std::uint8_t gap69[3];
    std::int32_t StartTime; // first second of the window, seconds since midnight
    std::int32_t FinishTime; // last second of the window, inclusive
    std::uint8_t UnitKind; // 1 per minute, 2 per second, 3 per pulse
    std::uint8_t gap81[3];
    std::int32_t SecondsPerPulse; // used only with UnitKind 3
    std::uint8_t ChargeKind; // 1 incremental, 2 single
    std::uint8_t gap89[3];
    MoneyValue UnitCost; // per unit, or per call for a single charge
    MoneyValue MinCharge; // added once when a call begins
    std::uint8_t AppliesTo; // kind of days, 1..7
    std::uint8_t gap109[3];
    std::uint32_t AppliesValue; // day set, day of month, month or year by AppliesTo
    DateTimeValue DateFrom; // whole date (kinds 6 and 7)
    DateTimeValue DateTo; // whole date, end of the era (kind 7)
    std::uint32_t Colour; // 0x00BBGGRR
    std::uint32_t TotalSeconds;
    MoneyValue TotalCost;
    std::uint16_t CallCount;
    std::uint8_t gap150[2];
};

#pragma pack(pop)

inline constexpr int kMaxTariffs = 256;

// The tariffs in memory; only the slots are stored in Tariffs.data, the count
// and the id counter live in settings.data.
struct TariffTable {
    std::uint16_t Count = 0; // tariffs in use, slots 0..Count-1, in creation order
    std::uint16_t CurrentIndex = 0; // the tariff the editor shows; not saved
    std::uint32_t LastTariffIdNumber = 0;
    Tariff records[kMaxTariffs];
};

static_assert(sizeof(Tariff) == 152);
static_assert(offsetof(Tariff, StartTime) == 72);
static_assert(offsetof(Tariff, UnitKind) == 80);
static_assert(offsetof(Tariff, SecondsPerPulse) == 84);
static_assert(offsetof(Tariff, ChargeKind) == 88);
static_assert(offsetof(Tariff, UnitCost) == 92);
static_assert(offsetof(Tariff, MinCharge) == 100);
static_assert(offsetof(Tariff, AppliesTo) == 108);
static_assert(offsetof(Tariff, AppliesValue) == 112);
static_assert(offsetof(Tariff, DateFrom) == 116);
static_assert(offsetof(Tariff, DateTo) == 124);
static_assert(offsetof(Tariff, Colour) == 132);
static_assert(offsetof(Tariff, TotalSeconds) == 136);
static_assert(offsetof(Tariff, TotalCost) == 140);
static_assert(offsetof(Tariff, CallCount) == 148);
