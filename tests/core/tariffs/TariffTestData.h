#pragma once

#include "core/store/Tariff.h"

#include <QString>

#include <cstring>
#include <initializer_list>

// Tariff records as a test writes them down: a window, a kind of days and a rate.
namespace tariffdata {

inline constexpr int kHour = 3600;

inline Tariff tariff(int start, int finish, std::uint8_t appliesTo, std::uint32_t appliesValue = 0)
{
    Tariff t;
    std::memset(&t, 0, sizeof t);
    t.StartTime = start;
    t.FinishTime = finish;
    t.AppliesTo = appliesTo;
    t.AppliesValue = appliesValue;
    t.UnitKind = 1;
    t.ChargeKind = 1;
    return t;
}

inline Tariff allDay(std::uint8_t appliesTo, std::uint32_t appliesValue = 0)
{
    return tariff(0, 24 * kHour - 1, appliesTo, appliesValue);
}

inline Tariff era(double from, double to)
{
    Tariff t = allDay(7);
    t.DateFrom = from;
    t.DateTo = to;
    return t;
}

// A rate: unit kind, charge kind, unit cost and minimum charge in 1/10000.
inline Tariff rate(std::uint8_t unitKind, std::uint8_t chargeKind, std::int64_t unitCost, std::int64_t minCharge = 0,
    std::int32_t secondsPerPulse = 0)
{
    Tariff t = allDay(1);
    t.UnitKind = unitKind;
    t.ChargeKind = chargeKind;
    t.UnitCost = unitCost;
    t.MinCharge = minCharge;
    t.SecondsPerPulse = secondsPerPulse;
    return t;
}

inline void fill(TariffTable &table, std::initializer_list<Tariff> tariffs)
{
    std::memset(static_cast<void *>(table.records), 0, sizeof table.records);
    table.Count = 0;
    for (const Tariff &t : tariffs) {
        table.records[table.Count] = t;
        table.records[table.Count].IdNumber = table.Count + 1u;
        table.records[table.Count].Name.setText(QStringLiteral("T%1").arg(table.Count));
        ++table.Count;
    }
}

} // namespace tariffdata
