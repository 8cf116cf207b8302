#include "core/volume/VolumePricing.h"

#include "core/store/Money.h"

#include <algorithm>

std::int64_t countedBytes(const VolumePlan &plan, std::int64_t bytesIn, std::int64_t bytesOut)
{
    const std::int64_t in = std::max<std::int64_t>(bytesIn, 0);
    const std::int64_t out = std::max<std::int64_t>(bytesOut, 0);
    switch (plan.counted) {
    case CountedBytes::In:
        return in;
    case CountedBytes::Out:
        return out;
    case CountedBytes::Both:
        break;
    }
    return in + out;
}

std::int64_t allowanceLeft(const VolumePlan &plan, std::int64_t used)
{
    return std::max<std::int64_t>(plan.allowanceBytes - std::max<std::int64_t>(used, 0), 0);
}

std::int64_t blocksBegun(const VolumePlan &plan, std::int64_t used)
{
    if (plan.blockBytes <= 0)
        return 0;
    const std::int64_t beyond = used - plan.allowanceBytes;
    if (beyond <= 0)
        return 0;
    return beyond / plan.blockBytes + (beyond % plan.blockBytes != 0 ? 1 : 0);
}

MoneyValue volumeCost(const VolumePlan &plan, std::int64_t usedBefore, std::int64_t bytes)
{
    if (!plan.priced() || bytes <= 0)
        return 0;
    usedBefore = std::max<std::int64_t>(usedBefore, 0);
    const std::int64_t blocks = blocksBegun(plan, usedBefore + bytes) - blocksBegun(plan, usedBefore);
    return scaleMoney(plan.blockPrice, blocks, 1);
}

MoneyValue callVolumeCost(const VolumePlan &plan, std::int64_t usedBefore, std::span<const std::int64_t> parts)
{
    MoneyValue cost = 0;
    for (std::size_t i = 0; i < parts.size(); ++i)
        cost = addMoney(cost, volumeCost(plan, i == 0 ? usedBefore : 0, parts[i]));
    return cost;
}
