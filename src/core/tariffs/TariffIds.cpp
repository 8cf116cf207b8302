#include "core/tariffs/TariffIds.h"

#include <algorithm>

int TariffDBFind(const TariffTable &table, std::uint32_t id)
{
    const int count = std::min<int>(table.Count, kMaxTariffs);
    for (int i = 0; i < count; ++i) {
        if (table.records[i].IdNumber == id)
            return i;
    }
    return kNoTariffWithId;
}

std::uint32_t reserveTariffId(TariffTable &table) { return ++table.LastTariffIdNumber; }

QString defaultTariffName(std::uint32_t id) { return QStringLiteral("Tariff %1").arg(id); }
