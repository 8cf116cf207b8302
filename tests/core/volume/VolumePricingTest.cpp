#include "core/volume/VolumePricing.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int64_t MB = 1000 * 1000;

VolumePlan plan(std::int64_t allowance, std::int64_t block, MoneyValue price)
{
    VolumePlan p;
    p.allowanceBytes = allowance;
    p.blockBytes = block;
    p.blockPrice = price;
    return p;
}

} // namespace

TEST(VolumePricing, ChargesBlocksBegunBeyondTheAllowanceWorkedByHand)
{
    const VolumePlan capped = plan(100 * MB, MB, 2500); // 100 MB free, then 0.25 a MB
    const VolumePlan perBlock = plan(0, 100 * MB, 19999); // 1.9999 per 100 MB from the first byte
    const VolumePlan satellite = plan(1000 * MB, 10 * MB, 1000); // 1 GB, then 0.10 per 10 MB
    const struct {
        const char *what;
        VolumePlan plan;
        std::int64_t usedBefore;
        std::vector<std::int64_t> parts; // the call's bytes, a new cycle between parts
        MoneyValue cost;
    } cases[] = {
        { "well within the allowance", capped, 0, { 50 * MB }, 0 },
        { "up to the last byte of the allowance", capped, 40 * MB, { 60 * MB }, 0 },
        // 99.5 MB + 2 MB = 101.5 MB: 1.5 MB beyond, two blocks begun.
        { "allowance crossed mid-call", capped, 99 * MB + MB / 2, { 2 * MB }, 2 * 2500 },
        // 100.2 MB used paid for the 101st MB; up to 100.7 MB stays in it.
        { "a block paid by an earlier call", capped, 100 * MB + 200000, { 500000 }, 0 },
        { "running into the next block", capped, 100 * MB + 200000, { 900000 }, 2500 },
        { "one byte beyond", capped, 100 * MB, { 1 }, 2500 },
        { "one byte with no allowance", perBlock, 0, { 1 }, 19999 },
        { "exactly two blocks", perBlock, 0, { 200 * MB }, 2 * 19999 },
        { "2.5 blocks rounded up", perBlock, 0, { 250 * MB }, 3 * 19999 },
        // 995 MB + 12 MB: 7 MB beyond, one block; then 30 MB of a fresh 1 GB.
        { "a new cycle mid-call", satellite, 995 * MB, { 12 * MB, 30 * MB }, 1000 },
        { "a new cycle before any byte beyond", satellite, 995 * MB, { 2 * MB, 1500 * MB }, 50 * 1000 },
        { "no data counted", capped, 500 * MB, { 0 }, 0 },
        { "a plan without a price", plan(100 * MB, 0, 2500), 500 * MB, { 10 * MB }, 0 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(callVolumeCost(c.plan, c.usedBefore, c.parts), c.cost) << c.what;
}

TEST(VolumePricing, CountsTheChosenDirectionAndWhatIsLeft)
{
    VolumePlan p = plan(10 * MB, MB, 100);
    EXPECT_EQ(countedBytes(p, 3 * MB, 2 * MB), 5 * MB);
    EXPECT_EQ(countedBytes(p, -1, -1), 0) << "an unknown count costs nothing";
    p.counted = CountedBytes::In;
    EXPECT_EQ(countedBytes(p, 3 * MB, 2 * MB), 3 * MB);
    p.counted = CountedBytes::Out;
    EXPECT_EQ(countedBytes(p, 3 * MB, 2 * MB), 2 * MB);

    EXPECT_EQ(allowanceLeft(p, 4 * MB), 6 * MB);
    EXPECT_EQ(allowanceLeft(p, 12 * MB), 0) << "never below nothing";

    // The largest plan the file takes, fully used, saturates instead of wrapping.
    const VolumePlan huge = plan(0, 1, MoneyValue(1) << 40);
    EXPECT_EQ(volumeCost(huge, 0, VolumePlan::kMaxBytes), std::numeric_limits<MoneyValue>::max());
}
