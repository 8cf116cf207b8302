#include "core/tariffs/TariffIds.h"
#include "core/tariffs/TariffTotals.h"

#include "TariffTestData.h"

#include <gtest/gtest.h>

#include <memory>

using namespace tariffdata;

TEST(TariffIds, FindComparesTheWholeIdAmongTariffsInUse)
{
    auto table = std::make_unique<TariffTable>();
    fill(*table, {});
    EXPECT_EQ(TariffDBFind(*table, 0), kNoTariffWithId);

    fill(*table, { allDay(1), allDay(1), allDay(1), allDay(1) });
    table->records[0].IdNumber = 3;
    table->records[1].IdNumber = 5;
    table->records[2].IdNumber = 300;
    table->records[3].IdNumber = 9; // beyond the count below
    table->Count = 3;
    const struct {
        std::uint32_t id;
        int expected;
    } cases[] = { { 5, 1 }, { 4, kNoTariffWithId }, { 300, 2 }, { 44, kNoTariffWithId }, { 9, kNoTariffWithId } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(TariffDBFind(*table, c.id), c.expected);
    }
}

TEST(TariffIds, CancelledTariffsUseUpTheirNumbers)
{
    auto table = std::make_unique<TariffTable>();
    fill(*table, {});
    table->LastTariffIdNumber = 0;
    EXPECT_EQ(reserveTariffId(*table), 1u) << "the first tariff of a fresh installation";
    EXPECT_EQ(reserveTariffId(*table), 2u);
    EXPECT_EQ(reserveTariffId(*table), 3u);
    reserveTariffId(*table); // started and cancelled
    reserveTariffId(*table); // again
    const std::uint32_t id = reserveTariffId(*table);
    EXPECT_EQ(id, 6u);
    EXPECT_EQ(defaultTariffName(id), QStringLiteral("Tariff 6"));
}

TEST(TariffTotals, ACallCountsForItsTariffAndKeepsTheIdsLowByte)
{
    auto table = std::make_unique<TariffTable>();
    fill(*table, { allDay(1), allDay(1) });
    table->records[1].IdNumber = 300;
    table->records[1].TotalSeconds = 100;
    table->records[1].TotalCost = 5000;
    table->records[1].CallCount = 2;

    EXPECT_EQ(loggedTariffId(*table, 1), 44);
    addCallToTariff(*table, 1, 61, 4500);
    EXPECT_EQ(table->records[1].CallCount, 3);
    EXPECT_EQ(table->records[1].TotalSeconds, 161u);
    EXPECT_EQ(table->records[1].TotalCost, 9500);

    const Tariff before = table->records[0];
    for (const int index : { 2, 255, -1 }) {
        SCOPED_TRACE(index);
        EXPECT_EQ(loggedTariffId(*table, index), 0);
        addCallToTariff(*table, index, 61, 4500);
    }
    EXPECT_EQ(table->records[0].CallCount, before.CallCount);
    EXPECT_EQ(table->records[2].CallCount, 0) << "a slot not in use is never counted";
}
