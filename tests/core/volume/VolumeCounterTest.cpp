#include "core/volume/VolumeCounter.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

constexpr std::uint64_t k32 = std::uint64_t(1) << 32;

struct Reading {
    std::optional<std::uint64_t> in; // nullopt: the read failed
    std::uint64_t out = 0;
};

struct Case {
    const char *name;
    bool fromConnect;
    std::vector<Reading> readings;
    qint64 in; // expected after the last reading
    qint64 out;
};

} // namespace

TEST(VolumeCounter, CountsOnlyForwardThroughWrapsRestartsAndGaps)
{
    const std::vector<Case> cases = {
        { "counters kept since before the call count from the first reading", false,
            { { 5000, 700 }, { 5600, 900 }, { 7000, 1000 } }, 2000, 300 },
        { "counters begun with the connection count from zero", true, { { 600, 40 }, { 1200, 80 } }, 1200, 80 },
        { "a 32-bit counter wraps: the bytes across the top are counted", false,
            { { k32 - 100, k32 - 10 }, { 50, 30 }, { 150, 60 } }, 250, 70 },
        { "an interface down and up restarts at a small value: nothing goes back", false,
            { { 90000, 9000 }, { 95000, 9500 }, { 300, 20 }, { 800, 70 } }, 5500, 550 },
        { "a restart far below a 64-bit value is no wrap", false,
            { { k32 * 5, k32 * 3 }, { k32 * 5 + 10, k32 * 3 + 10 }, { 10, 5 }, { 30, 6 } }, 30, 11 },
        { "failed reads count nothing and keep the last reading", false,
            { { 100, 10 }, { std::nullopt, 0 }, { 400, 40 }, { std::nullopt, 0 } }, 300, 30 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        VolumeCounter counter;
        qint64 lastIn = 0;
        for (const Reading &r : c.readings) {
            counter.add(r.in ? std::optional(dialup::ByteCounters { *r.in, r.out, c.fromConnect }) : std::nullopt);
            if (counter.volume().known()) {
                EXPECT_GE(counter.volume().bytesIn, lastIn);
                lastIn = counter.volume().bytesIn;
            }
        }
        EXPECT_EQ(counter.volume().bytesIn, c.in);
        EXPECT_EQ(counter.volume().bytesOut, c.out);
    }
}

TEST(VolumeCounter, UnknownUntilAReadingAndAgainAfterReset)
{
    VolumeCounter counter;
    counter.add(std::nullopt);
    EXPECT_FALSE(counter.volume().known());
    counter.add(dialup::ByteCounters { 10, 20, true });
    EXPECT_EQ(counter.volume().total(), 30);
    counter.reset();
    EXPECT_FALSE(counter.volume().known());
    EXPECT_EQ(counter.volume().total(), -1);
}
