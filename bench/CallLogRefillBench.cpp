// Refilling the call log window from a full log of 16384 calls: the core's
// rebuild (rows, statistics, every provider's counters) and the whole refill
// with the model reset and the first screen painted offscreen.
#include "core/app/AppCore.h"
#include "core/calllog/CallLogFill.h"
#include "core/calllog/CallLogRows.h"
#include "gui/calllog/TCallLog.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 31;

template <typename Work> double medianMilliseconds(Work &&work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void fillLog(AppCore &core)
{
    ProviderTable &providers = core.providers();
    providers.Count = 8;
    for (int p = 0; p < providers.Count; ++p)
        providers.records[p].Name.setText(QStringLiteral("Provider %1").arg(p));
    const QDate today = core.clock().now().date();
    CallLogTable &log = core.log();
    log.Count = kMaxLogRecords;
    for (int i = 0; i < kMaxLogRecords; ++i) {
        CallRecord &r = log.records[i];
        const QDate day = today.addDays(-(kMaxLogRecords - 1 - i) / 40);
        r.StartDay = r.EndDay = std::uint8_t(day.day());
        r.StartMonth = r.EndMonth = std::uint8_t(day.month());
        r.StartYear = r.EndYear = std::uint8_t(day.year() % 100);
        r.StartHour = r.EndHour = std::uint8_t(i % 24);
        r.StartMinute = r.StartSecond = 0;
        r.EndMinute = std::uint8_t(i % 60);
        r.EndSecond = 0;
        r.ProviderIndex = i % 97 == 0 ? kDeletedCall : std::uint8_t(i % providers.Count);
        r.DurationSeconds = std::uint32_t(60 * (i % 60) + 1);
        r.Cost = MoneyValue(100 * (i % 500));
        r.TariffId = std::uint8_t(i % 5);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
    core.loadAll();
    fillLog(core);
    const QDate today = clock.now().date();

    int rows = 0;
    const double rebuild = medianMilliseconds(
        [&] { rows = int(rebuildCallLog(core.providers(), core.log(), kAllProviders, today).rows.size()); });
    std::printf("core rebuild of %d records (%d rows shown): %.3f ms median of %d (target < 5 ms)\n", kMaxLogRecords,
        rows, rebuild, kRuns);
    std::printf("figure: refill-core %.3f ms\n", rebuild);

    TCallLog window;
    window.attach(core, [] {});
    window.resize(TCallLog::kWidth, 400);
    window.show();
    QApplication::processEvents();
    const double refill = medianMilliseconds([&] {
        window.FillGridWithLog();
        const QImage screen = window.grab().toImage();
        if (screen.isNull())
            std::printf("painting failed\n");
    });
    std::printf("whole refill with model reset and first screen painted: %.3f ms median of %d (target < 30 ms)\n",
        refill, kRuns);
    std::printf("figure: refill %.3f ms\n", refill);
    return rebuild < 5.0 && refill < 30.0 ? 0 : 1;
}
