#pragma once

#include "core/services/DialUpService.h"
#include "core/store/CallVolume.h"
#include "core/store/Values.h"

#include <cstdint>

// The call being costed, alive for the whole process; all zero at start.
struct CurrentCall {
    bool Connected = false; // a call is being costed
    bool FakeCall = false; // a simulated call runs; only its own end stops it
    bool DialledHere = false; // our own dial was accepted; the dial progress owns the status text
    dialup::ConnectionHandle RasConnHandle = 0; // first connection of the last poll: the one hung up
    std::uint16_t CallProvider = 0; // ProviderTable index of the call's provider
    std::uint8_t CallTariff = 0; // TariffTable index of the tariff in force
    DateTimeValue CallStart = 0; // whole seconds
    DateTimeValue CallEnd = 0;
    std::uint32_t CallSeconds = 0; // seconds costed so far
    MoneyValue CallCost = 0;
    MoneyValue CurrentRate = 0; // one unit, or the whole call for a single charge
    std::int32_t UnitLength = 0; // seconds per unit; 0 or 1: a unit every second
    std::int32_t UnitPosition = 0; // seconds into the current unit; 0: a unit begins on this second
    bool Incremental = false; // a unit is charged at the start of every unit
    bool FirstTick = false; // the call's first second is still to come
    MoneyValue StartCharge = 0; // due when the call begins; booked to the provider on the first second
    CallVolume Volume; // bytes so far, read at every tick; unknown until the line gives counters
};
