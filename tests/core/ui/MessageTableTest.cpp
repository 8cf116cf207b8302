#include "ui/MessageTable.h"

#include <gtest/gtest.h>

TEST(MessageTable, ButtonsAppearInTableOrder)
{
    const struct {
        std::uint16_t set;
        QList<int> indexes;
    } cases[] = {
        {0, {}},
        {mbHelp | mbOK, {2, 10}}, // OK above Help, whatever the caller wrote first
        {mbYes | mbNo, {0, 1}},
        {mbOK | mbCancel, {2, 3}},
        {0xF800, {}}, // bits beyond the table
        {0x07FF, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.set);
        EXPECT_EQ(messageButtonsIn(c.set), c.indexes);
    }
}

TEST(MessageTable, NamesCaptionsAndResults)
{
    const struct {
        int index;
        const char *name;
        const char *caption;
        int result;
    } cases[] = {
        {0, "Yes", "&Yes", 6},          {1, "No", "&No", 7},         {2, "OK", "&Okay", 1},
        {3, "Cancel", "&Cancel", 2},    {4, "Abort", "&Abort", 3},   {5, "Retry", "&Retry", 4},
        {6, "Ignore", "&Ignore", 5},    {7, "All", "&All", 8},       {8, "NoToAll", "&No To All", 9},
        {9, "YesToAll", "&Yes To All", 10}, {10, "Help", "&Help Me", 0},
    };
    for (const auto &c : cases) {
        const MessageButtonInfo &info = messageButtonInfo(c.index);
        EXPECT_STREQ(info.name, c.name);
        EXPECT_STREQ(info.caption, c.caption);
        EXPECT_EQ(info.result, c.result);
    }
}

TEST(MessageTable, EscapeAnswersCancelThenNo)
{
    EXPECT_EQ(escapeResult(mbYes | mbNo), mrNo);
    EXPECT_EQ(escapeResult(mbOK | mbCancel), mrCancel);
    EXPECT_EQ(escapeResult(mbYes | mbNo | mbCancel), mrCancel);
    EXPECT_EQ(escapeResult(mbOK), std::nullopt);
    EXPECT_EQ(escapeResult(mbOK | mbHelp), std::nullopt);
}

TEST(MessageTable, KindImagesAndColours)
{
    EXPECT_EQ(messageKindImage(mtWarning), QStringLiteral("Warning"));
    EXPECT_EQ(messageKindImage(mtError), QStringLiteral("Error"));
    EXPECT_EQ(messageKindImage(mtAdvice), QStringLiteral("Advice"));
    EXPECT_EQ(messageKindImage(mtConfirm), QStringLiteral("Confirm"));
    EXPECT_EQ(messageKindImage(4), QString());
    EXPECT_EQ(messageKindColour(mtWarning), QColor(255, 255, 0));
    EXPECT_EQ(messageKindColour(mtConfirm), QColor(0, 128, 0));
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
