#include "core/reports/CallReport.h"

#include <gtest/gtest.h>

TEST(CallStamp, TextsArePaddedWithZerosAndNeverCutShort)
{
    const struct {
        CallStamp stamp;
        const char *date;
        const char *month;
        const char *dateTime;
    } cases[] = {
        { { 2026, 3, 5, 7, 8, 9 }, "2026-03-05", "2026-03", "2026-03-05 07:08:09" },
        { { 2026, 12, 31, 23, 59, 59 }, "2026-12-31", "2026-12", "2026-12-31 23:59:59" },
        { { 1999, 10, 10, 0, 0, 0 }, "1999-10-10", "1999-10", "1999-10-10 00:00:00" },
        { { 905, 1, 1, 10, 20, 30 }, "0905-01-01", "0905-01", "0905-01-01 10:20:30" },
        // A damaged record's bytes are shown as they are, all digits kept.
        { { 2099, 200, 0, 255, 100, 60 }, "2099-200-00", "2099-200", "2099-200-00 255:100:60" },
        { { 12345, 1, 2, 3, 4, 5 }, "12345-01-02", "12345-01", "12345-01-02 03:04:05" },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.stamp.dateText(), QString::fromLatin1(c.date)) << c.date;
        EXPECT_EQ(c.stamp.monthText(), QString::fromLatin1(c.month)) << c.date;
        EXPECT_EQ(c.stamp.dateTimeText(), QString::fromLatin1(c.dateTime)) << c.date;
    }
}
