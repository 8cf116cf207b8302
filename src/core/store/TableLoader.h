#pragma once

#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "core/store/Tariff.h"

#include <QString>

// The tables a load fills; a null table is neither blanked nor read.
struct TableSet {
    ProviderTable *providers = nullptr;
    CallLogTable *log = nullptr;
    TariffTable *tariffs = nullptr;
};

// What to do with a Providers.data of the wrong magic or size.
enum class DamagedProviders {
    CopyAside, // the program's start: MyInvalidFile.old keeps it for the user
    LeaveAlone, // readers that must leave the folder as they found it
};

// What the files of a folder gave. Byte counts are those read over the slots,
// -1 for a missing or unreadable file (or a table not asked for).
struct LoadedTables {
    ProviderFileState providers = ProviderFileState::Missing;
    qint64 logBytes = -1;
    qint64 tariffBytes = -1;
    Settings settings;
    QString currencyText; // the currency text in force, with its trailing blank
};

// Blanks the tables, reads Providers.data, Log.data, Tariffs.data and
// settings.data into them, and sets the log's and the tariffs' counts as the
// settings say (or as the slots show, when the settings cannot say).
// `systemCurrency` stands where the user chose no currency of their own.
LoadedTables loadTables(
    const QString &folder, const TableSet &tables, DamagedProviders damaged, const QString &systemCurrency);
