#include "core/calllog/CallLogEdits.h"
#include "core/calllog/CallLogFill.h"
#include "core/calllog/CallLogRows.h"

#include "core/calllog/CallLogTestLog.h"

#include <gtest/gtest.h>

namespace {

class CallLogEditsTest : public ::testing::Test {
protected:
    CallLogEditsTest()
    {
        t.addProvider("Home");
        t.addProvider("Office");
        // Providers by slot: 0 1 0 (deleted) 1 0
        for (const std::uint8_t p : { 0, 1, 0, 0, 1, 0 })
            t.add({ p, 2, 3, 26, 60, 100 });
        t.log->records[3].ProviderIndex = kDeletedCall;
    }
    std::vector<std::uint8_t> providerBytes() const
    {
        std::vector<std::uint8_t> bytes;
        for (int i = 0; i < t.log->Count; ++i)
            bytes.push_back(t.log->records[i].ProviderIndex);
        return bytes;
    }
    TestLog t;
};

TEST_F(CallLogEditsTest, RowsAreNumberedAmongTheShownCalls)
{
    struct Case {
        int filter, top, bottom, expected;
    };
    const Case cases[] = {
        { kAllProviders, 1, 1, 0 }, { kAllProviders, 4, 4, 4 }, { kAllProviders, 5, 5, 5 }, { 0, 2, 2, 2 },
        { 0, 3, 3, 5 }, { 1, 2, 2, 4 }, { 0, 4, 4, -1 }, { 0, 0, 0, -1 },
        { 0, 1, 2, -1 }, // several rows are not edited
    };
    for (const Case &c : cases)
        EXPECT_EQ(callForEdit(*t.log, c.filter, c.top, c.bottom), c.expected)
            << c.filter << " rows " << c.top << "-" << c.bottom;
}

TEST_F(CallLogEditsTest, DeletingARangeMarksOnlyThoseCallsAndTheRebuildDropsThem)
{
    EXPECT_EQ(deleteCalls(*t.log, 0, 2, 3), 2);
    EXPECT_EQ(providerBytes(), (std::vector<std::uint8_t> { 0, 1, 254, 254, 1, 254 }));
    EXPECT_EQ(t.log->Count, 6) << "slots stay";
    EXPECT_EQ(deleteCalls(*t.log, kAllProviders, 2, 9), 2) << "rows past the end are ignored";
    EXPECT_EQ(providerBytes(), (std::vector<std::uint8_t> { 0, 254, 254, 254, 254, 254 }));
    t.providers->records[1].TotalCalls = 2;
    rebuildCallLog(*t.providers, *t.log, kAllProviders, QDate(2026, 3, 2));
    EXPECT_EQ(t.providers->records[0].TotalCalls, 1);
    EXPECT_EQ(t.providers->records[1].TotalCalls, 0);
    EXPECT_EQ(t.providers->records[1].TodayCalls, 0);
}

TEST_F(CallLogEditsTest, ClearingRemovesTheFiltersCallsOrAll)
{
    EXPECT_EQ(clearCalls(*t.log, 1), 2);
    EXPECT_EQ(providerBytes(), (std::vector<std::uint8_t> { 0, 254, 0, 254, 254, 0 }));
    EXPECT_EQ(clearCalls(*t.log, kAllProviders), 3);
    EXPECT_TRUE(shownCalls(*t.log, kAllProviders).isEmpty());
    EXPECT_EQ(t.log->Count, 6);
    EXPECT_EQ(t.log->records[6].ProviderIndex, kUnusedSlot) << "unused slots are left alone";
}

TEST(CallLogQuestions, TextsOfTheConfirmations)
{
    EXPECT_EQ(deleteQuestion(),
        QStringLiteral("This will remove the highlighted entry from the log. NOTE: If you "
                       "delete this you cannot get it back.\r\rAre you sure you want to "
                       "delete this?"));
    EXPECT_EQ(clearQuestion(QStringLiteral("  All Providers ")),
        QStringLiteral("This will remove all the entries for All Providers from the log.\r\rAre you sure you "
                       "want to clear all these items?"));
}

} // namespace
