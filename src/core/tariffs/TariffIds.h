#pragma once

#include "core/store/Tariff.h"

#include <QString>

#include <cstdint>

// Tariffs are known by id numbers that are handed out once and never reused;
// a logged call keeps only the low byte of its tariff's id.

inline constexpr int kNoTariffWithId = 1000;

// Index of the first tariff in use whose IdNumber is `id` (all 32 bits
// compared), or kNoTariffWithId.
int TariffDBFind(const TariffTable &table, std::uint32_t id);

// Reserves the next id for a tariff the user starts: the number is used up
// even when the user cancels.
std::uint32_t reserveTariffId(TariffTable &table);

// "Tariff 7" for id 7: the name a new tariff starts with.
QString defaultTariffName(std::uint32_t id);
