// How long choosing the tariff in force takes over a full table of 256
// tariffs, and whether it allocates: it runs once a second.

#include "core/pricing/TariffSelection.h"

#include <QDateTime>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

std::size_t g_allocations = 0;

} // namespace

void *operator new(std::size_t size)
{
    ++g_allocations;
    if (void *p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void *p) noexcept { std::free(p); }

void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

// Every kind of days, each window and day chosen so that the moment passes
// the window test and the day test runs, but only the last record applies.
void fillTable(TariffTable &table)
{
    std::memset(static_cast<void *>(table.records), 0, sizeof table.records);
    table.Count = kMaxTariffs;
    for (int i = 0; i < kMaxTariffs; ++i) {
        Tariff &t = table.records[i];
        t.IdNumber = std::uint32_t(i + 1);
        t.StartTime = 0;
        t.FinishTime = 86399;
        t.AppliesTo = std::uint8_t(2 + i % 6);
        t.AppliesValue = 0;
        t.DateFrom = 1;
        t.DateTo = 2;
    }
    table.records[kMaxTariffs - 1].AppliesTo = 1;
}

template <typename Moment>
double nanosecondsPerCall(const TariffTable &table, const Moment &moment, int calls, std::size_t &allocations)
{
    int sink = 0;
    const std::size_t before = g_allocations;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i)
        sink += SelectTariffAt(table, moment);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    allocations = g_allocations - before;
    if (sink != calls * (kMaxTariffs - 1))
        std::printf("unexpected selection\n");
    return std::chrono::duration<double, std::nano>(elapsed).count() / calls;
}

} // namespace

int main()
{
    auto table = std::make_unique<TariffTable>();
    fillTable(*table);
    const QDateTime moment(QDate(2026, 3, 9), QTime(12, 0, 0));
    const TariffMoment parts = tariffMomentOf(moment);
    constexpr int kCalls = 200000;

    std::size_t allocations = 0;
    const double scan = nanosecondsPerCall(*table, parts, kCalls, allocations);
    std::printf(
        "tariff selection, 256 records, calendar parts given: %.1f ns per call, %zu allocations\n", scan, allocations);
    const double withDate = nanosecondsPerCall(*table, moment, kCalls, allocations);
    std::printf("tariff selection, 256 records, from a QDateTime:     %.1f ns per call, %.2f allocations per call\n",
        withDate, double(allocations) / kCalls);
    return 0;
}
