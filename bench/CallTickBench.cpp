// The monitor's tick during a 24-hour call, and a day of 100 short calls,
// each ending with the four saves and the rebuild of the providers' counters
// over a nearly full log.

#include "BenchLog.h"

#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "core/connection/RunningCall.h"
#include "core/pricing/CurrentCostRate.h"

#include "core/tariffs/TariffTestData.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using Clocked = std::chrono::steady_clock;

double microseconds(Clocked::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

double threadCpuMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

struct Program {
    explicit Program(const QString &folder)
        : core(folder + QStringLiteral("/tollwise"), AppServices { clock, sound, startup, dialUp })
        , monitor(monitorParts(core), dialUp, clock)
    {
        dialUp.entries = { "DemoEntry", "Office", "Backup line" };
        core.loadAll();
        tariffdata::fill(core.tariffs(), { tariffdata::rate(1, 1, 1000, 2500) }); // 0.10 a minute, 0.25 minimum
        monitor.startUp();
    }

    void tick()
    {
        clock.advanceSeconds(1);
        monitor.tick();
    }

    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core;
    CallMonitor monitor;
};

void dayLongCall(const QString &folder)
{
    Program program(folder);
    program.dialUp.connect("DemoEntry");
    program.tick();
    constexpr int kSeconds = 24 * 3600;
    // Wall time and this thread's CPU time per tick: a tick slow on the wall
    // but not in CPU was only waiting for a core the machine gave elsewhere.
    std::vector<double> wall;
    std::vector<double> cpu;
    wall.reserve(kSeconds);
    cpu.reserve(kSeconds);
    const auto start = Clocked::now();
    for (int i = 1; i < kSeconds; ++i) {
        const auto before = Clocked::now();
        const double cpuBefore = threadCpuMicroseconds();
        program.tick();
        cpu.push_back(threadCpuMicroseconds() - cpuBefore);
        wall.push_back(microseconds(Clocked::now() - before));
    }
    const double total = microseconds(Clocked::now() - start);
    const auto slowestWall = std::max_element(wall.begin(), wall.end());
    const auto slowestCpu = std::max_element(cpu.begin(), cpu.end());
    std::printf("24-hour call: %d ticks, %.2f us per tick on average (call cost %s)\n", kSeconds - 1,
        total / (kSeconds - 1), qPrintable(program.monitor.display().costText));
    std::printf("  slowest on the wall: tick %d, %.1f us (%.1f us of CPU)\n", int(slowestWall - wall.begin()) + 1,
        *slowestWall, cpu[std::size_t(slowestWall - wall.begin())]);
    std::printf("  slowest in CPU: tick %d, %.1f us (%.1f us on the wall)\n", int(slowestCpu - cpu.begin()) + 1,
        *slowestCpu, wall[std::size_t(slowestCpu - cpu.begin())]);
    std::printf("  ticks over 1 ms on the wall: %d; in CPU: %d\n",
        int(std::count_if(wall.begin(), wall.end(), [](double us) { return us > 1000; })),
        int(std::count_if(cpu.begin(), cpu.end(), [](double us) { return us > 1000; })));
    std::printf("figure: tick-worst %.3f ms\n", *slowestWall / 1000);
    std::printf("figure: tick-worst-cpu %.3f ms\n", *slowestCpu / 1000);
    std::printf("figure: tick-mean %.4f ms\n", total / (kSeconds - 1) / 1000);

    // The costing step alone, without the poll and the texts.
    CurrentCall call;
    call.Connected = true;
    call.FirstTick = true;
    SetCurrentCostRate(program.core.tariffs(), call, program.clock.now());
    Provider &provider = program.core.providers().records[0];
    const auto stepStart = Clocked::now();
    for (int i = 0; i < kSeconds; ++i)
        advanceCallOneSecond(call, provider, 46083);
    std::printf(
        "running-call step alone: %.1f ns per second\n", microseconds(Clocked::now() - stepStart) * 1000 / kSeconds);
}

void dayOfShortCalls(const QString &folder)
{
    constexpr int kCalls = 100;
    Program program(folder);
    CallLogTable &log = program.core.log();
    const int earlier = kMaxLogRecords - kCalls;
    fillLogWithCalls(log, earlier, 3);

    std::vector<double> ends;
    for (int c = 0; c < kCalls; ++c) {
        const auto handle = program.dialUp.connect("DemoEntry");
        for (int s = 0; s < 90; ++s)
            program.tick();
        program.dialUp.drop(handle);
        const auto before = Clocked::now();
        program.tick(); // the call ends: record, totals, four saves, rebuild
        ends.push_back(microseconds(Clocked::now() - before));
        program.clock.advanceSeconds(600);
    }
    std::sort(ends.begin(), ends.end());
    double sum = 0;
    for (const double e : ends)
        sum += e;
    std::printf("100 short calls: call end %.2f ms on average, median %.2f ms, slowest %.2f ms (log now %d records)\n",
        sum / kCalls / 1000, ends[kCalls / 2] / 1000, ends.back() / 1000, log.Count);
    std::printf("figure: call-end %.2f ms\n", ends[kCalls / 2] / 1000);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::printf("no temporary folder\n");
        return 1;
    }
    dayLongCall(folder.path());
    dayOfShortCalls(folder.path());
    return 0;
}
