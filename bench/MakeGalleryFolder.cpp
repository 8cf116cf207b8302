// Writes a program folder whose figures agree with each other, for the
// pictures of scripts/gallery.sh: a full log of calls that never overlap,
// each ending its duration after it began and costed by the tariffs as a
// live call is, up to an hour before now; three providers whose counters are
// rebuilt from that log, and a week's tariffs. Usage: make_gallery_folder FOLDER
#include "core/calllog/ProviderTotals.h"
#include "core/pricing/CallPrice.h"
#include "core/store/CallVolumeFile.h"
#include "core/store/DataFiles.h"
#include "core/store/DateTimeValue.h"
#include "core/store/SettingsFile.h"
#include "core/store/TableBlanks.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t kWeekdays = 1 | 2 | 4 | 8 | 16;
constexpr std::uint32_t kWeekend = 32 | 64;

struct TariffPlan {
    const char *name;
    std::uint8_t appliesTo;
    std::uint32_t days;
    std::int32_t start;
    std::int32_t finish;
    std::uint8_t unitKind;
    std::int32_t secondsPerPulse;
    std::uint8_t chargeKind;
    MoneyValue unitCost; // 1/10000
    MoneyValue minCharge;
    std::uint32_t colour; // 0x00BBGGRR
};

// No two overlap, so every moment has one tariff and the editor finds no clash.
constexpr TariffPlan kTariffs[] = {
    { "Weekday daytime", 2, kWeekdays, 8 * 3600, 18 * 3600 - 1, 1, 60, 1, 500, 1000, 0x0000C0 },
    { "Weekday evening", 2, kWeekdays, 18 * 3600, 24 * 3600 - 1, 1, 60, 1, 200, 500, 0x008000 },
    { "Weekday night", 2, kWeekdays, 0, 8 * 3600 - 1, 3, 90, 1, 200, 0, 0x800000 },
    { "Weekend", 2, kWeekend, 0, 24 * 3600 - 1, 1, 60, 1, 100, 0, 0x008080 },
};

const char *const kProviders[] = { "DemoEntry", "Nordwind Fernsprechgesellschaft Süd-West", "Réseau du Haut-Plateau" };

// A fixed sequence, so that every run pictures the same calls.
std::uint32_t nextRandom(std::uint32_t &state)
{
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

void setMoment(CallRecord &call, const QDateTime &start, const QDateTime &end)
{
    call.StartDay = std::uint8_t(start.date().day());
    call.StartMonth = std::uint8_t(start.date().month());
    call.StartYear = std::uint8_t(start.date().year() % 100);
    call.StartHour = std::uint8_t(start.time().hour());
    call.StartMinute = std::uint8_t(start.time().minute());
    call.StartSecond = std::uint8_t(start.time().second());
    call.EndDay = std::uint8_t(end.date().day());
    call.EndMonth = std::uint8_t(end.date().month());
    call.EndYear = std::uint8_t(end.date().year() % 100);
    call.EndHour = std::uint8_t(end.time().hour());
    call.EndMinute = std::uint8_t(end.time().minute());
    call.EndSecond = std::uint8_t(end.time().second());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: make_gallery_folder FOLDER\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    const QDateTime now = QDateTime::currentDateTime();

    auto tariffs = std::make_unique<TariffTable>();
    blankTariffTable(*tariffs);
    for (const TariffPlan &plan : kTariffs) {
        Tariff &t = tariffs->records[tariffs->Count];
        t.IdNumber = ++tariffs->LastTariffIdNumber;
        t.Name.setText(QString::fromLatin1(plan.name));
        t.StartTime = plan.start;
        t.FinishTime = plan.finish;
        t.UnitKind = plan.unitKind;
        t.SecondsPerPulse = plan.secondsPerPulse;
        t.ChargeKind = plan.chargeKind;
        t.UnitCost = plan.unitCost;
        t.MinCharge = plan.minCharge;
        t.AppliesTo = plan.appliesTo;
        t.AppliesValue = plan.days;
        t.Colour = plan.colour;
        ++tariffs->Count;
    }

    // Calls evenly spread, each shorter than its share of the time, so none
    // overlaps the next; the last ends at least an hour before now.
    auto log = std::make_unique<CallLogTable>();
    blankCallLog(*log);
    const QDateTime first = now.addDays(-730);
    const qint64 share = first.secsTo(now.addSecs(-3600)) / kMaxLogRecords;
    std::uint32_t random = 2026;
    for (int i = 0; i < kMaxLogRecords; ++i) {
        CallRecord &call = log->records[i];
        const QDateTime start = first.addSecs(i * share + nextRandom(random) % (share / 4));
        const auto seconds = std::uint32_t(20 + nextRandom(random) % (share / 2));
        const CallPrice price = priceCall(*tariffs, start, seconds);
        setMoment(call, start, start.addSecs(seconds));
        call.ProviderIndex = std::uint8_t(nextRandom(random) % 10 < 7 ? 0 : 1 + i % 2);
        call.DurationSeconds = seconds;
        call.Cost = price.cost;
        if (price.tariffIndex != kNoTariff) {
            Tariff &t = tariffs->records[price.tariffIndex];
            call.TariffId = std::uint8_t(t.IdNumber & 0xFF);
            t.TotalSeconds += seconds;
            t.TotalCost += price.cost;
            ++t.CallCount;
        }
    }
    log->Count = kMaxLogRecords;

    auto providers = std::make_unique<ProviderTable>();
    blankProviderTable(*providers);
    for (const char *name : kProviders) {
        Provider &p = providers->records[providers->Count++];
        p.Name.setText(QString::fromUtf8(name));
        p.Registered = 1;
        p.MonthStartDay = 15;
        p.StartedOn = toDateTimeValue(first.date());
    }
    UpdateProviderTotals(*providers, *log, now.date());

    Settings settings;
    settings.UseUserCurrency = true;
    settings.CurrencyString = QStringLiteral("EUR");
    const DataFiles files(folder);
    const bool saved = files.saveAppData(*providers) && files.saveLogData(*log) && files.saveTarifData(*tariffs)
        && SettingsFile(QDir(folder).filePath(SettingsFile::kFileName))
               .save(settings, log->Count, tariffs->Count, tariffs->LastTariffIdNumber);
    // The calls were made on lines that count no bytes.
    const std::vector<CallVolume> volumes(kMaxLogRecords);
    QFile volumeFile(QDir(folder).filePath(callvolumefile::kLogFile));
    const bool volumesSaved = volumeFile.open(QIODevice::WriteOnly)
        && volumeFile.write(callvolumefile::serialise(volumes.data(), qsizetype(volumes.size()))) > 0;
    return saved && volumesSaved ? 0 : 1;
}
