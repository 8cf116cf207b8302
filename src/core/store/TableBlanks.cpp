#include "core/store/TableBlanks.h"

#include <cstring>

void blankProviderTable(ProviderTable &table)
{
    std::memset(&table, 0, sizeof table);
    std::memcpy(table.FileMagic, kFileMagic, sizeof kFileMagic);
}

void blankCallLog(CallLogTable &log)
{
    log.Count = 0;
    std::memset(log.records, 0xFF, sizeof(CallRecord) * (kMaxLogRecords - 1));
    std::memset(&log.records[kMaxLogRecords - 1], 0, sizeof(CallRecord));
}

void blankTariffTable(TariffTable &table)
{
    table.Count = 0;
    table.CurrentIndex = 0;
    table.LastTariffIdNumber = 0;
    std::memset(table.records, 0, sizeof table.records);
}
