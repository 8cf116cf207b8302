#include "core/store/TableLoader.h"

#include "core/store/SettingsFile.h"
#include "core/store/TableBlanks.h"

#include <QDir>

LoadedTables loadTables(
    const QString &folder, const TableSet &tables, DamagedProviders damaged, const QString &systemCurrency)
{
    const DataFiles files(folder);
    LoadedTables loaded;
    if (tables.providers) {
        blankProviderTable(*tables.providers);
        loaded.providers = damaged == DamagedProviders::CopyAside ? files.loadAppData(*tables.providers)
                                                                  : files.readAppData(*tables.providers);
    }
    if (tables.log) {
        blankCallLog(*tables.log);
        loaded.logBytes = files.loadLogData(*tables.log);
    }
    if (tables.tariffs) {
        blankTariffTable(*tables.tariffs);
        loaded.tariffBytes = files.loadTarifData(*tables.tariffs);
    }

    const StoredCounts counts = SettingsFile(QDir(folder).filePath(SettingsFile::kFileName)).load(loaded.settings);
    if (tables.log)
        applyStoredLogCount(*tables.log, counts, loaded.logBytes);
    if (tables.tariffs)
        applyStoredTariffCounts(*tables.tariffs, counts, loaded.tariffBytes);
    loaded.currencyText
        = (loaded.settings.UseUserCurrency ? loaded.settings.CurrencyString : systemCurrency) + QLatin1Char(' ');
    return loaded;
}
