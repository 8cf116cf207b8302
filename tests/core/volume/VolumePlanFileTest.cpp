#include "core/store/VolumePlanFile.h"

#include <gtest/gtest.h>

TEST(VolumePlanFile, KeepsPlansForAnyNameAndSaysWhatWasWrong)
{
    VolumePlans plans;
    VolumePlan sim;
    sim.allowanceBytes = 5000000000;
    sim.blockBytes = 1000000;
    sim.blockPrice = 12345;
    sim.counted = CountedBytes::In;
    sim.warnedCycle = QDate(2026, 12, 1);
    sim.warnedLevels = 3;
    plans.insert(QStringLiteral("Mobile=SIM [2]"), sim);
    plans.insert(QStringLiteral("Спутник"), { 0, 100000000, 9900, CountedBytes::Both, {}, 0 });
    plans.insert(QStringLiteral("Dial-up"), {}); // no plan: not written
    const volumeplanfile::ReadResult read = volumeplanfile::parse(volumeplanfile::serialise(plans));
    EXPECT_TRUE(read.problems.isEmpty()) << read.problems.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(read.plans.size(), 2);
    const VolumePlan back = read.plans.value(QStringLiteral("Mobile=SIM [2]"));
    EXPECT_EQ(back.allowanceBytes, 5000000000);
    EXPECT_EQ(back.blockBytes, 1000000);
    EXPECT_EQ(back.blockPrice, 12345);
    EXPECT_EQ(back.counted, CountedBytes::In);
    EXPECT_EQ(back.warnedCycle, QDate(2026, 12, 1));
    EXPECT_EQ(back.warnedLevels, 3);
    EXPECT_EQ(read.plans.value(QStringLiteral("Спутник")).blockPrice, 9900) << "a name beyond the code page";

    const QByteArray sound = "[Volume.0]\r\nName=Home\r\nAllowanceBytes=1000\r\nBlockBytes=10\r\nBlockPrice=5\r\n"
                             "Counts=both\r\nWarnedCycle=2026-03-01\r\nWarnedLevels=1\r\n";
    const struct {
        const char *what;
        QByteArray bytes;
        std::int64_t allowance;
        MoneyValue price;
        int warnedLevels;
        const char *problem; // part of the one problem told; empty: none
    } cases[] = {
        { "as written", sound, 1000, 5, 1, "" },
        { "bytes in digits only", QByteArray(sound).replace("=1000", "=-1"), 0, 5, 1, "AllowanceBytes=-1 for Home" },
        { "no more than the file takes", QByteArray(sound).replace("=1000", "=99999999999999999"), 0, 5, 1,
            "is not a number of bytes" },
        { "a price in digits only", QByteArray(sound).replace("Price=5", "Price=0.5"), 1000, 0, 1,
            "BlockPrice=0.5 for Home is not an amount" },
        { "warnings forgotten, not guessed", QByteArray(sound).replace("Levels=1", "Levels=9"), 1000, 5, 0,
            "WarnedLevels=9" },
        { "the first of two plans", sound + "[Volume.1]\r\nName=Home\r\nBlockPrice=7\r\n", 1000, 5, 1,
            "two data plans for Home" },
        { "a line of noise", QByteArray(sound).insert(12, "\x01\x9d\n"), 1000, 5, 1, "Line 2 cannot be read" },
    };
    for (const auto &c : cases) {
        const volumeplanfile::ReadResult r = volumeplanfile::parse(c.bytes);
        const VolumePlan home = r.plans.value(QStringLiteral("Home"));
        EXPECT_EQ(home.allowanceBytes, c.allowance) << c.what;
        EXPECT_EQ(home.blockPrice, c.price) << c.what;
        EXPECT_EQ(home.warnedLevels, c.warnedLevels) << c.what;
        if (*c.problem) {
            ASSERT_EQ(r.problems.size(), 1) << c.what << ": " << r.problems.join(QLatin1Char('|')).toStdString();
            EXPECT_TRUE(r.problems[0].contains(QString::fromUtf8(c.problem))) << r.problems[0].toStdString();
        } else {
            EXPECT_TRUE(r.problems.isEmpty()) << c.what;
        }
    }
}
