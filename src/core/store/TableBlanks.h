#pragma once

#include "core/store/Records.h"
#include "core/store/Tariff.h"

// The start-up state of each table, set before anything is loaded.
void blankProviderTable(ProviderTable &table);
void blankCallLog(CallLogTable &log); // slots 0xFF except the last, which is zero
void blankTariffTable(TariffTable &table);
