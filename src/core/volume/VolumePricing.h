#pragma once

#include "core/store/VolumePlan.h"

#include <cstdint>
#include <span>

// What data costs under a provider's plan. Blocks are counted over the whole
// billing cycle: the call that begins a block pays for all of it, and the
// calls after it use the rest of that block free, so the calls of a cycle
// add up to the bill. Sizes are bytes, amounts 1/10000 of money.

// The bytes of a call the plan counts; an unknown count (negative) is none.
std::int64_t countedBytes(const VolumePlan &plan, std::int64_t bytesIn, std::int64_t bytesOut);

// What is left of the allowance once `used` bytes of the cycle are counted; 0 past it.
std::int64_t allowanceLeft(const VolumePlan &plan, std::int64_t used);

// Blocks begun beyond the allowance once `used` bytes of the cycle are counted.
std::int64_t blocksBegun(const VolumePlan &plan, std::int64_t used);

// What `bytes` more cost in a cycle that has already counted `usedBefore`.
MoneyValue volumeCost(const VolumePlan &plan, std::int64_t usedBefore, std::int64_t bytes);

// A call's data split where new cycles began: the first part is counted on
// top of `usedBefore` in the cycle the call began in, each later part from
// the start of a fresh cycle.
MoneyValue callVolumeCost(const VolumePlan &plan, std::int64_t usedBefore, std::span<const std::int64_t> parts);
