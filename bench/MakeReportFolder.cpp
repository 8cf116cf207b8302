// Writes a program folder with a full log of 16384 calls of up to an hour,
// eight providers and a table of tariffs of every unit kind, for timing
// tollwise-report on it. Usage: make_report_folder FOLDER [PROVIDERS]
// PROVIDERS (1 to 8) share out the calls; the program's idle measure gives
// every call to the one provider shown.
#include "core/store/DataFiles.h"
#include "core/store/SettingsFile.h"
#include "core/store/TableBlanks.h"

#include "BenchLog.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const int sharing = argc == 3 ? std::atoi(argv[2]) : 8;
    if (argc < 2 || argc > 3 || sharing < 1 || sharing > 8) {
        std::fputs("usage: make_report_folder FOLDER [PROVIDERS]\n", stderr);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    auto providers = std::make_unique<ProviderTable>();
    blankProviderTable(*providers);
    providers->Count = 8;
    for (int p = 0; p < providers->Count; ++p)
        providers->records[p].Name.setText(QStringLiteral("Provider %1").arg(p));

    auto log = std::make_unique<CallLogTable>();
    blankCallLog(*log);
    fillLogWithCalls(*log, kMaxLogRecords, sharing);
    for (int i = 0; i < kMaxLogRecords; ++i)
        log->records[i].DurationSeconds = std::uint32_t(1 + i * 7919 % 3600);

    auto tariffs = std::make_unique<TariffTable>();
    blankTariffTable(*tariffs);
    tariffs->Count = 24;
    for (int t = 0; t < tariffs->Count; ++t) {
        Tariff &tariff = tariffs->records[t];
        tariff.IdNumber = std::uint32_t(t + 1);
        tariff.Name.setText(QStringLiteral("Tariff %1").arg(t));
        tariff.StartTime = t % 3 * 8 * 3600;
        tariff.FinishTime = tariff.StartTime + 8 * 3600 - 1;
        tariff.UnitKind = std::uint8_t(1 + t % 3);
        tariff.SecondsPerPulse = 10;
        tariff.ChargeKind = t % 5 == 4 ? 2 : 1;
        tariff.UnitCost = 100 + t;
        tariff.MinCharge = 500;
        tariff.AppliesTo = t < 12 ? 1 : 2;
        tariff.AppliesValue = 32 | 64;
    }
    tariffs->LastTariffIdNumber = tariffs->Count;

    const DataFiles files(folder);
    const bool saved = files.saveAppData(*providers) && files.saveLogData(*log) && files.saveTarifData(*tariffs)
        && SettingsFile(QDir(folder).filePath(SettingsFile::kFileName))
               .save(Settings {}, log->Count, tariffs->Count, tariffs->LastTariffIdNumber)
        && writeUnknownVolumes(folder, log->Count);
    return saved ? 0 : 1;
}
