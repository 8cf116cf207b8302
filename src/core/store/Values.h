#pragma once

#include <bit>
#include <cstdint>

static_assert(std::endian::native == std::endian::little, "the data files are raw little-endian images of the records");

// An amount of money times 10000: 1.50 is 15000. All cost arithmetic is
// exact integer arithmetic on it.
using MoneyValue = std::int64_t;

// Days since 30 December 1899; the fraction is the time of day.
using DateTimeValue = double;

inline constexpr MoneyValue kMoneyUnit = 10000;
