#include "core/calllog/CallStatistics.h"
#include "core/calllog/CallLogRows.h"
#include "core/calllog/StatisticsButtons.h"

#include "core/calllog/CallLogTestLog.h"

#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 3, 2);
const QString kCurrency = QStringLiteral("$ ");

std::array<QString, kStatisticCount> texts(const TestLog &t, int filter)
{
    return statisticValueTexts(callStatistics(*t.log, shownCalls(*t.log, filter), kToday), kCurrency, QLocale::c());
}

TEST(CallStatistics, ValuesOfASmallKnownLog)
{
    TestLog t;
    t.add({ 0, 2, 3, 26, 60, 10000 });
    t.add({ 1, 1, 3, 26, 3600, 25000 });
    t.add({ 0, 2, 3, 26, 61, 50 });
    t.add({ 0, 2, 3, 26, 999, 99990 }).ProviderIndex = kDeletedCall;

    const std::array<QString, kStatisticCount> all = {
        "$ 1.17",
        "0000:20:40",
        "0001:00:00",
        "0000:01:00",
        "2",
        "0001:02:01",
        "3",
        "$ 3.51",
    };
    EXPECT_EQ(texts(t, kAllProviders), all);
    // 121 s over two calls is 60.5 s: halves go to the even second.
    const std::array<QString, kStatisticCount> first = {
        "$ 0.50",
        "0000:01:00",
        "0000:01:01",
        "0000:01:00",
        "2",
        "0000:02:01",
        "2",
        "$ 1.01",
    };
    EXPECT_EQ(texts(t, 0), first);
    EXPECT_EQ(texts(t, 5), statisticResetTexts());
}

TEST(CallStatistics, HugeDurationsNeitherWrapNorGoNegative)
{
    TestLog t;
    for (int i = 0; i < 3; ++i)
        t.add({ 0, 1, 1, 26, 2000000000u, 0 });
    const auto values = texts(t, kAllProviders);
    EXPECT_EQ(values[1], QStringLiteral("555555:33:20"));
    EXPECT_EQ(values[5], QStringLiteral("596523:14:07")) << "the largest time that can be shown";
}

TEST(StatisticsButtons, ClicksToggleAndFillsKeepWhatEachButtonShows)
{
    StatisticsButtons buttons;
    EXPECT_EQ(buttons.text(0), QStringLiteral("Avg Cost"));
    EXPECT_EQ(buttons.tag(7), 80);
    EXPECT_EQ(buttons.value(6), QStringLiteral("0"));

    std::array<QString, kStatisticCount> values;
    for (int k = 0; k < kStatisticCount; ++k)
        values[k] = QString::number(k * 11);
    buttons.refill(values);
    EXPECT_EQ(buttons.text(6), QStringLiteral("Total items")) << "a fill keeps the caption showing";
    EXPECT_EQ(buttons.hint(6), QStringLiteral("Total items= 66"));

    buttons.toggle(6);
    EXPECT_EQ(buttons.tag(6), 71);
    EXPECT_EQ(buttons.text(6), QStringLiteral("66"));
    values[6] = QStringLiteral("67");
    buttons.refill(values);
    EXPECT_EQ(buttons.text(6), QStringLiteral("67")) << "and the value showing, renewed";

    // Every call deleted: texts and hints stay until the next click.
    buttons.refill(std::nullopt);
    EXPECT_EQ(buttons.text(6), QStringLiteral("67"));
    EXPECT_EQ(buttons.hint(6), QStringLiteral("Total items= 67"));
    buttons.toggle(6);
    EXPECT_EQ(buttons.text(6), QStringLiteral("Total items"));
    buttons.toggle(6);
    EXPECT_EQ(buttons.text(6), QStringLiteral("0"));
    buttons.toggle(0);
    EXPECT_EQ(buttons.text(0), QStringLiteral("0.00"));
}

} // namespace
