#include "core/store/Money.h"

#include <gtest/gtest.h>

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QLocale kFrench(QLocale::French, QLocale::France);
} // namespace

TEST(Money, ParsingToTheNearestUnit)
{
    const struct {
        const char *text;
        const QLocale &locale;
        MoneyValue expected;
    } cases[] = {
        { "0.1", kEnglish, 1000 },
        { "0,10", kGerman, 1000 },
        { "1.234,5", kGerman, 12345000 },
        { "1,234.50", kEnglish, 12345000 },
        { "-0.00005", kEnglish, 0 }, // a half goes to the even unit
        { "0.00015", kEnglish, 2 },
        { "0.000051", kEnglish, 1 },
        { "  -2.5 ", kEnglish, -25000 },
        { "0.5", kFrench, 5000 }, // a point is still understood where it is no group separator
        { "922337203685477.5807", kEnglish, INT64_MAX },
        { "7", kEnglish, 70000 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const auto value = parseMoney(QString::fromUtf8(c.text), c.locale);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, c.expected);
    }
}

TEST(Money, RejectsWhatIsNotAnAmount)
{
    const struct {
        const char *text;
        MoneyParseError error;
    } cases[] = {
        { "", MoneyParseError::NotAnAmount },
        { "abc", MoneyParseError::NotAnAmount },
        { "1.2.3", MoneyParseError::NotAnAmount },
        { "--1", MoneyParseError::NotAnAmount },
        { "1e5", MoneyParseError::NotAnAmount },
        { "99999999999999999999", MoneyParseError::TooLarge },
        { "922337203685477.5808", MoneyParseError::TooLarge },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const auto value = parseMoney(QString::fromUtf8(c.text), kEnglish);
        ASSERT_FALSE(value.has_value());
        EXPECT_EQ(value.error(), c.error);
    }
}

TEST(Money, Texts)
{
    const QString pound = QStringLiteral("£ ");
    const QString none = QStringLiteral(" "); // no symbol: the currency text is its blank alone
    const struct {
        QString text;
        const char *expected;
    } cases[] = {
        { amountText(12345000, kEnglish), "1,234.50" },
        { amountText(12345000, kGerman), "1.234,50" },
        { amountText(5, kEnglish), "0.00" },
        { amountText(50, kEnglish), "0.01" },
        { amountText(-50, kEnglish), "-0.01" },
        { amountText(INT64_MIN, kEnglish), "-922,337,203,685,477.58" },
        { paddedAmountText(12345000, 18, kEnglish), "          1,234.50" },
        { fixedAmountText(12345000, 12, kEnglish), "     1234.50" },
        { exactAmountText(9'999'999'999'999, kEnglish), "999,999,999.9999" },
        { exactAmountText(99'999'999'999'999, kGerman), "9.999.999.999,9999" },
        { exactAmountText(125, kEnglish), "0.0125" },
        { exactAmountText(12345000, kEnglish), "1,234.50" },
        { exactAmountText(INT64_MIN, kEnglish), "-922,337,203,685,477.5808" },
        { moneyText(15000, pound, kEnglish), "£ 1.50" },
        { moneyText(-15000, pound, kEnglish), "-£ 1.50" },
        { moneyText(15000, none, kEnglish), "1.50" },
        { moneyText(-15000, none, kEnglish), "-1.50" },
        { moneyText(15000, QString(), kEnglish), "1.50" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.text, QString::fromUtf8(c.expected)) << c.expected;
}

TEST(Money, ScalingRoundsAndNeverOverflows)
{
    EXPECT_EQ(scaleMoney(3000, 60, 120), 1500);
    EXPECT_EQ(scaleMoney(1, 1, 2), 1);
    EXPECT_EQ(scaleMoney(-1, 1, 2), -1);
    EXPECT_EQ(scaleMoney(INT64_MAX, 60, 1), INT64_MAX);
    EXPECT_EQ(scaleMoney(INT64_MIN, 60, 1), INT64_MIN);
    EXPECT_EQ(scaleMoney(INT64_MAX, 60, 65534), MoneyValue((__int128(INT64_MAX) * 60 + 32767) / 65534));
    EXPECT_EQ(scaleMoney(5, 1, 0), 0);
}

TEST(Money, GroupsOfThreeFromTheDecimalPoint)
{
    const QLocale french(QLocale::French, QLocale::France);
    const struct {
        MoneyValue amount;
        const QLocale &locale;
        QString text;
    } cases[] = {
        { 9999949, kEnglish, QStringLiteral("999.99") },
        { 9999950, kEnglish, QStringLiteral("1,000.00") },
        { 100000000000, kEnglish, QStringLiteral("10,000,000.00") },
        { -1234567890000, kEnglish, QStringLiteral("-123,456,789.00") },
        { INT64_MAX, kEnglish, QStringLiteral("922,337,203,685,477.58") },
        { 12345670000, french,
            QStringLiteral("1") + french.groupSeparator() + QStringLiteral("234") + french.groupSeparator()
                + QStringLiteral("567,00") },
    };
    for (const auto &c : cases)
        EXPECT_EQ(amountText(c.amount, c.locale), c.text) << c.amount;
}
