// The rebuild of every provider's counters from a full log of 16384 calls,
// the core of the call log window's refill.
// Prints a "figure:" line for bench/run-all.sh.

#include "BenchLog.h"

#include "calllog/ProviderTotals.h"
#include "store/Records.h"
#include "store/TableBlanks.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

int main()
{
    auto providers = std::make_unique<ProviderTable>();
    auto log = std::make_unique<CallLogTable>();
    blankProviderTable(*providers);
    blankCallLog(*log);
    providers->Count = 3;
    fillLogWithCalls(*log, kMaxLogRecords, 3);

    std::vector<double> runs;
    for (int run = 0; run < 50; ++run) {
        const auto start = std::chrono::steady_clock::now();
        UpdateProviderTotals(*providers, *log, QDate(2026, 6, 15));
        runs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(runs.begin(), runs.end());
    std::printf("provider totals from 16384 calls: median %.3f ms, slowest %.3f ms (%u calls counted)\n",
                runs[runs.size() / 2], runs.back(), unsigned(providers->records[0].TotalCalls));
    std::printf("figure: totals-rebuild %.3f ms\n", runs[runs.size() / 2]);
    return 0;
}
