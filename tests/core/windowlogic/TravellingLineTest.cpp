#include "core/windowlogic/TravellingLine.h"

#include <gtest/gtest.h>

TEST(TravellingLine, TravelsLeftAndComesBackFromTheRight)
{
    TravellingLine line({ QStringLiteral("one"), QStringLiteral("two") });
    EXPECT_TRUE(line.text().startsWith(QStringLiteral("one ")));
    EXPECT_TRUE(line.text().endsWith(QStringLiteral(" two")));

    line.restart(100);
    EXPECT_EQ(line.x(), 100);
    // A line 30 wide in a strip 100 wide, one pixel a step: 129 steps leave
    // its right end at 1, the 130th puts it wholly off the left edge.
    for (int i = 0; i < 129; ++i)
        line.advance(30, 100, 1);
    EXPECT_EQ(line.x(), -29);
    line.advance(30, 100, 1);
    EXPECT_EQ(line.x(), 100);
}
