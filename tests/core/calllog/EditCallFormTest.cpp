#include "core/calllog/EditCallForm.h"

#include "core/calllog/CallLogTestLog.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

const QDate kToday(2026, 3, 2);

class EditCallFormTest : public ::testing::Test {
protected:
    EditCallFormTest()
    {
        t.addProvider("Home");
        t.add({ 0, 1, 3, 26, 3725, 12345, 23 });
    }
    CallRecord &call() { return t.log->records[0]; }
    EditCallFields fields() { return editCallFields(call(), *t.providers, kToday, QLocale::c()); }
    TestLog t;
};

TEST_F(EditCallFormTest, OpensWithTheRecordsFields)
{
    const EditCallFields f = fields();
    EXPECT_EQ(f.connection, QStringLiteral(" Home"));
    EXPECT_EQ(f.startTime, QStringLiteral("23:00:00"));
    EXPECT_EQ(f.startDate, QDate(2026, 3, 1));
    EXPECT_EQ(f.endTime, QStringLiteral("00:02:05"));
    EXPECT_EQ(f.duration, QStringLiteral("0001:02:05"));
    EXPECT_EQ(f.cost, QStringLiteral("1.23"));
}

TEST_F(EditCallFormTest, SavesTheFieldsAsTyped)
{
    EditCallFields f = fields();
    f.startTime = QStringLiteral("22:59:30");
    f.endDate = QDate(2026, 3, 2);
    f.endTime = QStringLiteral("00:10:00");
    f.duration = QStringLiteral("   1:10:30");
    f.cost = QStringLiteral("1,234.565");
    ASSERT_TRUE(saveEditCall(call(), f, QLocale::c()));
    const CallRecord &r = call();
    EXPECT_EQ((std::array<int, 12> { r.StartDay, r.StartMonth, r.StartYear, r.StartHour, r.StartMinute, r.StartSecond,
                  r.EndDay, r.EndMonth, r.EndYear, r.EndHour, r.EndMinute, r.EndSecond }),
        (std::array<int, 12> { 1, 3, 26, 22, 59, 30, 2, 3, 26, 0, 10, 0 }));
    EXPECT_EQ(r.DurationSeconds, 4230u);
    EXPECT_EQ(r.Cost, 12345650);
    EXPECT_EQ(r.ProviderIndex, 0);

    f.duration = QStringLiteral("12a4:00:00");
    ASSERT_TRUE(saveEditCall(call(), f, QLocale::c()));
    EXPECT_EQ(call().DurationSeconds, 0u) << "an unreadable duration is 0";
}

TEST_F(EditCallFormTest, RefusedFieldsLeaveTheRecordUntouched)
{
    struct Case {
        const char *what;
        void (*change)(EditCallFields &);
        EditCallError error;
    };
    const Case cases[] = {
        { "hour 24", [](EditCallFields &f) { f.startTime = QStringLiteral("24:00:00"); }, EditCallError::StartTime },
        { "minute 60", [](EditCallFields &f) { f.startTime = QStringLiteral("10:60:00"); }, EditCallError::StartTime },
        { "blank digit", [](EditCallFields &f) { f.startTime = QStringLiteral("1 :00:00"); },
            EditCallError::StartTime },
        { "end second 99", [](EditCallFields &f) { f.endTime = QStringLiteral("23:00:99"); }, EditCallError::EndTime },
        { "end hour 99", [](EditCallFields &f) { f.endTime = QStringLiteral("99:00:00"); }, EditCallError::EndTime },
        { "end a second early",
            [](EditCallFields &f) {
                f.endDate = f.startDate;
                f.endTime = QStringLiteral("22:59:59");
            },
            EditCallError::EndBeforeStart },
        { "end a day early", [](EditCallFields &f) { f.endDate = QDate(2026, 2, 28); }, EditCallError::EndBeforeStart },
        { "cost", [](EditCallFields &f) { f.cost = QStringLiteral("one pound"); }, EditCallError::Cost },
    };
    for (const Case &c : cases) {
        const CallRecord before = call();
        EditCallFields f = fields();
        c.change(f);
        const auto saved = saveEditCall(call(), f, QLocale::c());
        ASSERT_FALSE(saved) << c.what;
        EXPECT_EQ(saved.error(), c.error) << c.what;
        EXPECT_FALSE(editCallMessage(saved.error()).isEmpty());
        EXPECT_EQ(std::memcmp(&before, &call(), sizeof(CallRecord)), 0) << c.what;
    }
    EditCallFields f = fields();
    f.endDate = f.startDate;
    f.endTime = f.startTime;
    EXPECT_TRUE(saveEditCall(call(), f, QLocale::c())) << "a call may end as it starts";
}

TEST_F(EditCallFormTest, ImpossibleStoredDatesAreKeptUnlessAnotherIsPicked)
{
    call().StartDay = 32;
    call().EndMonth = 13;
    EditCallFields f = fields();
    EXPECT_FALSE(f.startDate);
    EXPECT_EQ(f.startDateText, QStringLiteral("32/03/26"));
    EXPECT_EQ(f.endDateText, QStringLiteral("02/13/26"));
    f.cost = QStringLiteral("2");
    ASSERT_TRUE(saveEditCall(call(), f, QLocale::c())) << "no order can be checked without real dates";
    EXPECT_EQ(call().StartDay, 32);
    EXPECT_EQ(call().EndMonth, 13);
    EXPECT_EQ(call().Cost, 20000);

    f.startDate = QDate(2026, 3, 2);
    ASSERT_TRUE(saveEditCall(call(), f, QLocale::c()));
    EXPECT_EQ(call().StartDay, 2);

    call().StartHour = 25;
    EXPECT_EQ(fields().startTime, QStringLiteral("25:00:00"));
    EXPECT_EQ(saveEditCall(call(), fields(), QLocale::c()).error(), EditCallError::StartTime);
}

} // namespace
