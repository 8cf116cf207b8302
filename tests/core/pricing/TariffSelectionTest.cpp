#include "core/pricing/TariffSelection.h"

#include "core/tariffs/TariffTestData.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace tariffdata;

namespace {

QDateTime at(int year, int month, int day, int hour, int minute = 0, int second = 0, int ms = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms));
}

const Tariff kDaytime = tariff(8 * kHour, 18 * kHour - 1, 1); // every day 08:00:00-17:59:59
const Tariff kWeekend = allDay(2, 32 + 64); // Saturday and Sunday
constexpr double k1March2026 = 46082;
constexpr double k7March2026 = 46088;
constexpr double k10March2026 = 46091;

} // namespace

TEST(TariffSelection, LaterRecordWinsAndEveryKindMatchesItsDays)
{
    const struct {
        const char *what;
        std::vector<Tariff> tariffs;
        QDateTime moment;
        int expected;
    } cases[] = {
        { "no tariffs", {}, at(2026, 3, 7, 10), kNoTariff },
        // 7 March 2026 is a Saturday, 9 March a Monday.
        { "weekend after daytime, Saturday", { kDaytime, kWeekend }, at(2026, 3, 7, 10), 1 },
        { "weekend after daytime, Monday", { kDaytime, kWeekend }, at(2026, 3, 9, 10), 0 },
        { "weekend after daytime, Monday evening", { kDaytime, kWeekend }, at(2026, 3, 9, 18), kNoTariff },
        { "daytime after weekend, Saturday", { kWeekend, kDaytime }, at(2026, 3, 7, 10), 1 },
        { "daytime after weekend, Saturday evening", { kWeekend, kDaytime }, at(2026, 3, 7, 18), 0 },
        { "window opens", { kDaytime }, at(2026, 3, 9, 8), 0 },
        { "before the window", { kDaytime }, at(2026, 3, 9, 7, 59, 59), kNoTariff },
        { "window's last second", { kDaytime }, at(2026, 3, 9, 17, 59, 59), 0 },
        { "fraction of the last second", { kDaytime }, at(2026, 3, 9, 17, 59, 59, 900), 0 },
        { "window closed", { kDaytime }, at(2026, 3, 9, 18), kNoTariff },
        { "Sunday is bit 64", { allDay(2, 64) }, at(2026, 3, 8, 12), 0 },
        { "Monday is bit 1", { allDay(2, 1) }, at(2026, 3, 9, 12), 0 },
        { "Monday not in Tuesday-Sunday", { allDay(2, 126) }, at(2026, 3, 9, 12), kNoTariff },
        { "empty day set", { allDay(2, 0) }, at(2026, 3, 9, 12), kNoTariff },
        { "15th in March", { allDay(3, 15) }, at(2026, 3, 15, 12), 0 },
        { "15th in April", { allDay(3, 15) }, at(2026, 4, 15, 12), 0 },
        { "16th", { allDay(3, 15) }, at(2026, 3, 16, 12), kNoTariff },
        { "April", { allDay(4, 4) }, at(2026, 4, 30, 23), 0 },
        { "not April", { allDay(4, 4) }, at(2026, 3, 31, 23), kNoTariff },
        { "year 2026", { allDay(5, 2026) }, at(2026, 1, 1, 0), 0 },
        { "year 2025", { allDay(5, 2026) }, at(2025, 12, 31, 23, 59, 59), kNoTariff },
        { "specific date", { [] {
             Tariff t = allDay(6);
             t.DateFrom = k7March2026;
             return t;
         }() },
            at(2026, 3, 7, 23, 59, 59), 0 },
        { "day after the date", { [] {
             Tariff t = allDay(6);
             t.DateFrom = k7March2026;
             return t;
         }() },
            at(2026, 3, 8, 0), kNoTariff },
        { "era's first instant", { era(k1March2026, k10March2026) }, at(2026, 3, 1, 0), 0 },
        { "before the era", { era(k1March2026, k10March2026) }, at(2026, 2, 28, 23, 59, 59), kNoTariff },
        { "era's ninth day late", { era(k1March2026, k10March2026) }, at(2026, 3, 9, 23), 0 },
        { "era's end date at midnight", { era(k1March2026, k10March2026) }, at(2026, 3, 10, 0), 0 },
        { "era's end date one second later", { era(k1March2026, k10March2026) }, at(2026, 3, 10, 0, 0, 1), kNoTariff },
        { "era's end date at noon", { era(k1March2026, k10March2026) }, at(2026, 3, 10, 12), kNoTariff },
        { "every-day kind ignores a stale day set", { allDay(1, 96) }, at(2026, 3, 9, 12), 0 },
        { "kind 0 never applies", { allDay(0) }, at(2026, 3, 9, 12), kNoTariff },
        { "kind 8 never applies", { allDay(8) }, at(2026, 3, 9, 12), kNoTariff },
        { "start after finish never applies", { tariff(18 * kHour, 8 * kHour, 1) }, at(2026, 3, 9, 12), kNoTariff },
    };
    auto table = std::make_unique<TariffTable>();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fill(*table, {});
        for (const Tariff &t : c.tariffs)
            table->records[table->Count++] = t;
        EXPECT_EQ(SelectTariffAt(*table, c.moment), c.expected);
    }
}
