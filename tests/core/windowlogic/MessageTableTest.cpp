#include "core/windowlogic/MessageTable.h"

#include <gtest/gtest.h>

TEST(MessageTable, ButtonsAppearInTableOrder)
{
    const struct {
        std::uint16_t set;
        QList<int> indexes;
    } cases[] = {
        { 0, {} },
        { mbHelp | mbOK, { 2, 10 } }, // OK above Help, whatever the caller wrote first
        { mbYes | mbNo, { 0, 1 } },
        { mbOK | mbCancel, { 2, 3 } },
        { 0xF800, {} }, // bits beyond the table
        { 0x07FF, { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.set);
        EXPECT_EQ(messageButtonsIn(c.set), c.indexes);
    }
}

TEST(MessageTable, EscapeAnswersCancelThenNoThenOkay)
{
    EXPECT_EQ(escapeResult(mbYes | mbNo), mrNo);
    EXPECT_EQ(escapeResult(mbOK | mbCancel), mrCancel);
    EXPECT_EQ(escapeResult(mbYes | mbNo | mbCancel), mrCancel);
    EXPECT_EQ(escapeResult(mbOK), mrOk);
    EXPECT_EQ(escapeResult(mbOK | mbHelp), mrOk);
    EXPECT_EQ(escapeResult(mbAbort | mbRetry), std::nullopt);
}

TEST(MessageTable, UnknownKindIsPlainAndGrey)
{
    EXPECT_EQ(messageKindImage(4), QString());
    EXPECT_EQ(messageKindImage(255), QString());
    EXPECT_EQ(messageKindColour(200), QColor(128, 128, 128));
}

TEST(MessageTable, ButtonPlaces)
{
    EXPECT_EQ(skinDialogButtonRect(0), QRect(384, 23, 54, 18));
    EXPECT_EQ(skinDialogButtonRect(1), QRect(384, 49, 54, 18));
    EXPECT_EQ(skinDialogButtonRect(10), QRect(384, 283, 54, 18));

    // 400 wide: one button at 400 − 5 − 75; two at 400 − 5 − 150 and 75 further on.
    EXPECT_EQ(dynaBoxButtonRect(0, 1, QSize(400, 400)), QRect(320, 370, 70, 25));
    EXPECT_EQ(dynaBoxButtonRect(0, 2, QSize(400, 400)), QRect(245, 370, 70, 25));
    EXPECT_EQ(dynaBoxButtonRect(1, 2, QSize(400, 400)), QRect(320, 370, 70, 25));

    EXPECT_EQ(dynaBoxClientSize(400, 400, 1), QSize(400, 400));
    EXPECT_EQ(dynaBoxClientSize(100, 20, 3), QSize(235, 100));
    // Grown just enough: the first button starts 5 pixels from the left.
    EXPECT_EQ(dynaBoxButtonRect(0, 3, dynaBoxClientSize(0, 0, 3)).left(), 5);
}

TEST(MessageTable, CarriageReturnsBreakLines)
{
    EXPECT_EQ(messageDisplayText(QStringLiteral("a\rb\r\rc")), QStringLiteral("a\nb\n\nc"));
    EXPECT_EQ(messageDisplayText(QStringLiteral("a\r\nb")), QStringLiteral("a\nb"));
}
