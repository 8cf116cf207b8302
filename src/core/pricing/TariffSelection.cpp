#include "core/pricing/TariffSelection.h"

#include "core/store/DateTimeValue.h"

#include <algorithm>

namespace {

constexpr double kSecondsPerDay = 86400.0;

bool appliesOnDay(const Tariff &tariff, const TariffMoment &m)
{
    switch (tariff.AppliesTo) {
    case 1: // every day
        return true;
    case 2: { // days of the week: Monday is bit 1 up to Sunday bit 64
        const int bit = m.weekday == 0 ? 64 : 1 << (m.weekday - 1);
        return (tariff.AppliesValue & std::uint32_t(bit)) != 0;
    }
    case 3:
        return tariff.AppliesValue == std::uint32_t(m.day);
    case 4:
        return tariff.AppliesValue == std::uint32_t(m.month);
    case 5:
        return tariff.AppliesValue == std::uint32_t(m.year);
    case 6:
        return m.date == tariff.DateFrom;
    case 7: // the era's last date is reached only at its first instant
        return tariff.DateFrom <= m.value && m.value <= tariff.DateTo;
    default:
        return false;
    }
}

} // namespace

TariffMoment tariffMomentOf(const QDateTime &moment) { return tariffMomentOf(moment.date(), moment.time()); }

TariffMoment tariffMomentOf(const QDate &date, const QTime &time)
{
    TariffMoment m;
    m.weekday = date.dayOfWeek() % 7;
    m.day = date.day();
    m.month = date.month();
    m.year = date.year();
    m.secondOfDay = time.hour() * 3600 + time.minute() * 60 + time.second();
    m.date = toDateTimeValue(date);
    m.value = m.date + m.secondOfDay / kSecondsPerDay;
    return m;
}

int SelectTariffAt(const TariffTable &table, const QDateTime &moment)
{
    return SelectTariffAt(table, tariffMomentOf(moment));
}

int SelectTariffAt(const TariffTable &table, const TariffMoment &moment)
{
    int result = kNoTariff;
    const int count = std::min<int>(table.Count, kMaxTariffs);
    for (int i = 0; i < count; ++i) {
        const Tariff &tariff = table.records[i];
        if (moment.secondOfDay < tariff.StartTime || moment.secondOfDay > tariff.FinishTime)
            continue;
        if (appliesOnDay(tariff, moment))
            result = i;
    }
    return result;
}
