#include "core/store/TextHelpers.h"
#include "core/store/DateTimeValue.h"

#include <gtest/gtest.h>

#include <tuple>

TEST(TextHelpers, DurationTexts)
{
    const struct {
        std::int64_t seconds;
        const char *longText;
        const char *shortText;
    } cases[] = {
        { 0, "0000:00:00", "00:00:00" }, { 3661, "0001:01:01", "01:01:01" }, { 3599, "0000:59:59", "00:59:59" },
        { 360000, "0100:00:00", "100:00:00" }, { 36000000, "10000:00:00", "10000:00:00" },
        { 2147483647, "596523:14:07", "596523:14:07" }, // 2^31 - 1
        { 2147483648, "596523:14:08", "596523:14:08" }, // 2^31: a counter past the signed range
        { 4294967295, "1193046:28:15", "1193046:28:15" }, // the largest unsigned 32-bit count
    };
    for (const auto &c : cases) {
        EXPECT_EQ(LongDurationText(c.seconds), QLatin1String(c.longText));
        EXPECT_EQ(ShortDurationText(c.seconds), QLatin1String(c.shortText));
    }
}

TEST(TextHelpers, DurationParsing)
{
    const struct {
        const char *text;
        std::int32_t longSeconds;
        std::int32_t shortSeconds;
    } cases[] = {
        { "0001:01:01", 3661, 0 }, // the short form's hours "00" then ":1:" is no number
        { "12:34:56", 0, 45296 }, // the long form's first field "12:3" is no number
        { "   1:00:00", 3600, 0 }, // blank leading hour digits
        { "0001:0x:00", 0, 0 },
        { "0001:01", 0, 0 }, // a field cut short by the end of the text
        { "", 0, 0 },
        { "9999:59:59", 35999999, 0 },
        { "23:59:59", 0, 86399 },
        { "00:00:01 ", 0, 1 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseLongDuration(QLatin1String(c.text)), c.longSeconds);
        EXPECT_EQ(ParseShortDuration(QLatin1String(c.text)), c.shortSeconds);
    }
}

TEST(TextHelpers, CopyRangeAndCallTexts)
{
    EXPECT_EQ(CopyRange(QStringLiteral("abcdef"), 2, 4), QStringLiteral("bcd"));
    EXPECT_EQ(CopyRange(QStringLiteral("abcdef"), 4, 3), QString());
    EXPECT_EQ(CopyRange(QStringLiteral("abc"), 2, 10), QStringLiteral("bc"));
    EXPECT_EQ(CopyRange(QStringLiteral("abc"), 5, 6), QString());
    EXPECT_EQ(CallDateText(5, 3, 1), QStringLiteral("05/03/01"));
    EXPECT_EQ(CallTimeText(23, 5, 0), QStringLiteral("23:05:00"));
}

TEST(DateTimeValues, ConversionAndTwoDigitYears)
{
    const QDateTime moment(QDate(2026, 3, 5), QTime(18, 0, 0));
    EXPECT_DOUBLE_EQ(toDateTimeValue(moment), 46086.75);
    EXPECT_EQ(fromDateTimeValue(46086.75), moment);
    EXPECT_DOUBLE_EQ(toDateTimeValue(QDate(1899, 12, 30)), 0.0);
    const MomentBytes b = momentBytes(QDateTime(QDate(2001, 3, 5), QTime(7, 8, 9)));
    EXPECT_EQ(CallDateText(b.day, b.month, b.year), QStringLiteral("05/03/01"));
    EXPECT_EQ(CallTimeText(b.hour, b.minute, b.second), QStringLiteral("07:08:09"));

    const QDate today(2026, 12, 8);
    EXPECT_EQ(dateFromTwoDigitYear(30, 12, 99, today), QDate(2099, 12, 30));
    EXPECT_FALSE(dateFromTwoDigitYear(0, 13, 26, today).isValid());
    EXPECT_EQ(parseShortDate(QStringLiteral("01/03/26"), today), QDate(2026, 3, 1));
    EXPECT_FALSE(parseShortDate(QStringLiteral("  /  /  "), today).isValid());
    EXPECT_EQ(shortDateText(QDate(2026, 3, 1)), QStringLiteral("01/03/26"));
    EXPECT_FALSE(dateOfValue(1e300).isValid());
}

TEST(DateTimeValues, DayNumbersCountTheDaysTheCalendarHas)
{
    const QDate origin(2000, 1, 1);
    for (const QDate &date :
        { QDate(2000, 1, 1), QDate(2000, 2, 29), QDate(2000, 3, 1), QDate(2026, 12, 31), QDate(2027, 1, 1),
            QDate(2099, 12, 31), QDate(2100, 2, 28), QDate(2100, 3, 1), QDate(1, 1, 1), QDate(9999, 12, 31) }) {
        SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(
            *civilDayNumber(date.year(), date.month(), date.day()) - *civilDayNumber(2000, 1, 1), origin.daysTo(date));
    }
    for (const auto &[year, month, day] : { std::tuple { 2100, 2, 29 }, std::tuple { 2026, 4, 31 },
             std::tuple { 2026, 0, 1 }, std::tuple { 2026, 13, 1 }, std::tuple { 2026, 1, 0 }, std::tuple { 0, 1, 1 } })
        EXPECT_FALSE(civilDayNumber(year, month, day)) << year << "-" << month << "-" << day;
}
