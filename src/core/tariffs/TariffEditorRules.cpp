#include "tariffs/TariffEditorRules.h"

#include "store/DateTimeValue.h"
#include "store/Money.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

bool windowsShareASecond(const Tariff &record, const TariffEdit &edit)
{
    return record.StartTime <= edit.finishTime && record.FinishTime >= edit.startTime;
}

// Same kind and the same days: only then can two tariffs compete.
bool sameDays(const Tariff &record, const TariffEdit &edit)
{
    if (record.AppliesTo != std::uint8_t(edit.appliesTo))
        return false;
    switch (edit.appliesTo) {
    case AppliesKind::EveryDay:
        return true;
    case AppliesKind::DaysOfWeek:
        return record.AppliesValue == edit.daySet;
    case AppliesKind::DayOfMonth:
        return record.AppliesValue == edit.dayOfMonth;
    case AppliesKind::Month:
        return record.AppliesValue == edit.month;
    case AppliesKind::Year:
        return record.AppliesValue == edit.year;
    case AppliesKind::Date:
        return dateOfValue(record.DateFrom) == edit.date;
    case AppliesKind::Era: {
        const QDate from = dateOfValue(record.DateFrom);
        const QDate to = dateOfValue(record.DateTo);
        return from.isValid() && to.isValid() && from <= edit.dateTo && to >= edit.dateFrom;
    }
    }
    return false;
}

} // namespace

std::optional<TariffEditProblem> checkTariffEdit(const TariffEdit &edit, const QLocale &locale)
{
    if (edit.name.isEmpty())
        return TariffEditProblem::EmptyName;
    if (edit.startTime >= edit.finishTime)
        return TariffEditProblem::StartNotBeforeFinish;
    if (edit.appliesTo == AppliesKind::Era && !(edit.dateTo > edit.dateFrom))
        return TariffEditProblem::EraNotOrdered;
    if (!parseMoney(edit.unitCost, locale))
        return TariffEditProblem::UnitCostNotAmount;
    if (!parseMoney(edit.minCharge, locale))
        return TariffEditProblem::MinChargeNotAmount;
    return std::nullopt;
}

std::optional<int> findTariffClash(const TariffTable &table, const TariffEdit &edit, std::optional<int> skipIndex)
{
    std::optional<int> clash;
    const int count = std::min<int>(table.Count, kMaxTariffs);
    for (int i = 0; i < count; ++i) {
        if (skipIndex && *skipIndex == i)
            continue;
        const Tariff &record = table.records[i];
        if (windowsShareASecond(record, edit) && sameDays(record, edit))
            clash = i;
    }
    return clash;
}

std::expected<void, TariffEditProblem> storeTariffEdit(Tariff &record, const TariffEdit &edit,
                                                       std::optional<std::uint32_t> newIdNumber,
                                                       const QLocale &locale)
{
    const auto unitCost = parseMoney(edit.unitCost, locale);
    if (!unitCost)
        return std::unexpected(TariffEditProblem::UnitCostNotAmount);
    const auto minCharge = parseMoney(edit.minCharge, locale);
    if (!minCharge)
        return std::unexpected(TariffEditProblem::MinChargeNotAmount);

    if (newIdNumber) {
        // The totals start at zero, and so do the gaps and unused fields.
        std::memset(&record, 0, sizeof record);
        record.IdNumber = *newIdNumber;
    }
    record.Name.setText(edit.name);
    record.StartTime = edit.startTime;
    record.FinishTime = edit.finishTime;
    record.UnitKind = edit.unitKind;
    record.SecondsPerPulse = edit.secondsPerPulse;
    record.ChargeKind = edit.chargeKind;
    record.UnitCost = *unitCost;
    record.MinCharge = *minCharge;
    record.Colour = edit.colour;
    record.AppliesTo = std::uint8_t(edit.appliesTo);
    switch (edit.appliesTo) {
    case AppliesKind::EveryDay:
        break;
    case AppliesKind::DaysOfWeek:
        record.AppliesValue = edit.daySet;
        break;
    case AppliesKind::DayOfMonth:
        record.AppliesValue = edit.dayOfMonth;
        break;
    case AppliesKind::Month:
        record.AppliesValue = edit.month;
        break;
    case AppliesKind::Year:
        record.AppliesValue = edit.year;
        break;
    case AppliesKind::Date:
        record.DateFrom = toDateTimeValue(edit.date);
        break;
    case AppliesKind::Era:
        record.DateFrom = toDateTimeValue(edit.dateFrom);
        record.DateTo = toDateTimeValue(edit.dateTo);
        break;
    }
    return {};
}

bool deleteTariffAt(TariffTable &table, int index)
{
    const int count = std::min<int>(table.Count, kMaxTariffs);
    if (index < 0 || index >= count)
        return false;
    std::memmove(&table.records[index], &table.records[index + 1], sizeof(Tariff) * std::size_t(count - index - 1));
    table.Count = std::uint16_t(count - 1);
    return true;
}

std::optional<int> tariffColourIndex(std::uint32_t colour)
{
    const auto found = std::find(kTariffColours.begin(), kTariffColours.end(), colour);
    if (found == kTariffColours.end())
        return std::nullopt;
    return int(found - kTariffColours.begin());
}

std::uint32_t nextDayOfMonth(std::uint32_t day)
{
    return day >= 1 && day < 28 ? day + 1 : 1;
}

std::uint32_t previousDayOfMonth(std::uint32_t day)
{
    return day > 1 && day <= 28 ? day - 1 : 28;
}

std::uint32_t nextMonth(std::uint32_t month)
{
    return month >= 1 && month < 12 ? month + 1 : 1;
}

std::uint32_t previousMonth(std::uint32_t month)
{
    return month > 1 && month <= 12 ? month - 1 : 12;
}

std::uint32_t nextYear(std::uint32_t year)
{
    return year < std::numeric_limits<std::uint32_t>::max() ? year + 1 : year;
}

std::uint32_t previousYear(std::uint32_t year)
{
    return year > 1 ? year - 1 : 2000;
}
