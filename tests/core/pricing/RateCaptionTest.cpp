#include "core/pricing/RateCaption.h"

#include "core/pricing/CurrentCostRate.h"

#include "core/tariffs/TariffTestData.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>

using namespace tariffdata;

namespace {
const QLocale kEnglish(QLocale::English, QLocale::UnitedKingdom);
}

TEST(RateCaption, ShowsTheRatePerMinuteOfTheTariffInForce)
{
    const struct {
        const char *what;
        Tariff tariff;
        const char *caption;
        const char *hint;
    } cases[] = {
        { "per minute 0.10", rate(1, 1, 1000), "T0 0.10 p.min", "T0 £ 0.10 per minute" },
        { "per second 0.002", rate(2, 1, 20), "T0 0.12 p.min", "T0 £ 0.12 per minute" },
        { "per second 0.01", rate(2, 1, 100), "T0 0.60 p.min", "T0 £ 0.60 per minute" },
        { "pulse of 120 s at 0.30", rate(3, 1, 3000, 0, 120), "T0 0.15 p.min", "T0 £ 0.15 per minute" },
        { "pulse of 7 s at 0.01 rounds", rate(3, 1, 100, 0, 7), "T0 0.09 p.min", "T0 £ 0.09 per minute" },
        { "single 3.00 per minute", rate(1, 2, 30000), "T0 3.00 p.call", "T0 £ 3.00 per call" },
        { "thousands", rate(1, 1, 12345000), "T0 1,234.50 p.min", "T0 £ 1,234.50 per minute" },
        { "largest stored cost per second", rate(2, 1, std::numeric_limits<MoneyValue>::max()),
            "T0 922,337,203,685,477.58 p.min", "T0 £ 922,337,203,685,477.58 per minute" },
    };
    auto table = std::make_unique<TariffTable>();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fill(*table, { c.tariff });
        CurrentCall call;
        SetCurrentCostRate(*table, call, QDateTime(QDate(2026, 3, 9), QTime(12, 0)));
        const RateCaption text = rateCaption(*table, call, QStringLiteral("£ "), kEnglish);
        EXPECT_EQ(text.caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(text.hint, QString::fromUtf8(c.hint));
    }
}

TEST(RateCaption, AsksForTariffsWhenNoneStandsAtTheIndex)
{
    auto table = std::make_unique<TariffTable>();
    fill(*table, {});
    CurrentCall call;
    const RateCaption empty = rateCaption(*table, call, QStringLiteral("£ "), kEnglish);
    EXPECT_EQ(empty.caption, QStringLiteral("Please Add Tarifs"));
    EXPECT_FALSE(empty.hint.has_value()) << "the hint keeps what it showed";

    fill(*table, { rate(1, 1, 1000), rate(1, 1, 1000) });
    call.CallTariff = 1;
    table->Count = 1; // the editor deleted the call's tariff
    EXPECT_EQ(rateCaption(*table, call, QStringLiteral("£ "), kEnglish).caption, QStringLiteral("Please Add Tarifs"));
}
