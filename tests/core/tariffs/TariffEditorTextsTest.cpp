#include "core/tariffs/TariffEditorTexts.h"

#include "core/store/DateTimeValue.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(TariffEditorTexts, DaysLabelListsMondayFirstAndSundayLastWithoutBlank)
{
    const std::pair<std::uint32_t, const char *> cases[] = {
        { 96, "Sat Sun" },
        { 1 + 4, "Mon Wed " },
        { 1 + 4 + 64, "Mon Wed Sun" },
        { 2, "Tue " },
        { 8 + 16, "Thur Fri " },
        { 64, "Sun" },
        { 127, "Mon Tue Wed Thur Fri Sat Sun" },
        { 0, "" },
    };
    for (const auto &[set, label] : cases)
        EXPECT_EQ(daysLabel(set), QString::fromLatin1(label)) << set;
}

TEST(TariffEditorTexts, DaySuffixes)
{
    const std::pair<std::uint32_t, const char *> cases[] = {
        { 1, "1st" },
        { 2, "2nd" },
        { 3, "3rd" },
        { 4, "4th" },
        { 11, "11th" },
        { 12, "12th" },
        { 13, "13th" },
        { 21, "21st" },
        { 22, "22nd" },
        { 23, "23rd" },
        { 28, "28th" },
        { 31, "31st" },
    };
    for (const auto &[day, text] : cases)
        EXPECT_EQ(dayWithSuffix(day), QString::fromLatin1(text));
}

TEST(TariffEditorTexts, AppliesToCellByKind)
{
    struct Case {
        std::uint8_t kind;
        std::uint32_t value;
        QDate from;
        QDate to;
        const char *text;
    };
    const Case cases[] = {
        { 1, 96, {}, {}, "Every day of the week" },
        { 2, 1 + 4 + 64, {}, {}, "Mon Wed Sun" },
        { 3, 22, {}, {}, "22nd Day of the month" },
        { 3, 11, {}, {}, "11th Day of the month" },
        { 4, 3, {}, {}, "March" },
        { 4, 13, {}, {}, " " },
        { 5, 2026, {}, {}, "Whole Year of 2026" },
        { 6, 0, QDate(2026, 12, 25), {}, "Date of 25/12/26" },
        { 7, 0, QDate(2026, 3, 1), QDate(2026, 3, 10), "01/03/26 to 10/03/26" },
        { 0, 0, {}, {}, " " },
        { 8, 0, {}, {}, " " },
    };
    for (const Case &c : cases) {
        Tariff record;
        std::memset(&record, 0, sizeof record);
        record.AppliesTo = c.kind;
        record.AppliesValue = c.value;
        if (c.from.isValid())
            record.DateFrom = toDateTimeValue(c.from);
        if (c.to.isValid())
            record.DateTo = toDateTimeValue(c.to);
        EXPECT_EQ(appliesToText(record), QString::fromLatin1(c.text)) << int(c.kind);
    }
}

TEST(TariffEditorTexts, CodesOutsideTheirRangeReadAsABlank)
{
    EXPECT_EQ(unitKindText(3), QStringLiteral("Per Pulse"));
    EXPECT_EQ(unitKindText(0), QStringLiteral(" "));
    EXPECT_EQ(unitKindText(4), QStringLiteral(" "));
    EXPECT_EQ(chargeKindText(2), QStringLiteral("Single"));
    EXPECT_EQ(chargeKindText(3), QStringLiteral(" "));
    EXPECT_EQ(monthText(12), QStringLiteral("December"));
    EXPECT_EQ(monthText(0), QStringLiteral(" "));
}

TEST(TariffEditorTexts, MoneyFieldsKeepFractionsOfACent)
{
    const std::pair<MoneyValue, const char *> cases[] = {
        { 0, "0.00" },
        { 1500, "0.15" },
        { 12345000, "1,234.50" },
        { 20, "0.002" },
        { 1234, "0.1234" },
        { 10001, "1.0001" },
        { -15, "-0.0015" },
        { -12345000, "-1,234.50" },
    };
    for (const auto &[amount, text] : cases)
        EXPECT_EQ(moneyFieldText(amount, QLocale(QLocale::English, QLocale::UnitedStates)), QString::fromLatin1(text))
            << amount;
    EXPECT_EQ(moneyFieldText(1234, QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("0,1234"));
}
