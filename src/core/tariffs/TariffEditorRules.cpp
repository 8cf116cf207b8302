#include "core/tariffs/TariffEditorRules.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/tariffs/TariffEditorTexts.h"

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

enum class MoneyFieldProblem { NotAmount, Negative };

// A field left as it was loaded keeps its amount, even one the field could
// not read back (a damaged record's); a typed amount must be one, and a
// call must never cost less than nothing.
std::expected<MoneyValue, MoneyFieldProblem> fieldAmount(const QString &text, MoneyValue loaded, const QLocale &locale)
{
    if (text == moneyFieldText(loaded, locale))
        return loaded;
    const auto typed = parseMoney(text, locale);
    if (!typed)
        return std::unexpected(MoneyFieldProblem::NotAmount);
    if (*typed < 0)
        return std::unexpected(MoneyFieldProblem::Negative);
    return *typed;
}

struct EditAmounts {
    MoneyValue unitCost = 0;
    MoneyValue minCharge = 0;
};

std::expected<EditAmounts, TariffEditProblem> editAmounts(const TariffEdit &edit, const QLocale &locale)
{
    const auto unitCost = fieldAmount(edit.unitCost, edit.unitCostLoaded, locale);
    if (!unitCost)
        return std::unexpected(unitCost.error() == MoneyFieldProblem::Negative ? TariffEditProblem::UnitCostNegative
                                                                               : TariffEditProblem::UnitCostNotAmount);
    const auto minCharge = fieldAmount(edit.minCharge, edit.minChargeLoaded, locale);
    if (!minCharge)
        return std::unexpected(minCharge.error() == MoneyFieldProblem::Negative
                ? TariffEditProblem::MinChargeNegative
                : TariffEditProblem::MinChargeNotAmount);
    return EditAmounts { *unitCost, *minCharge };
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
    if (const auto amounts = editAmounts(edit, locale); !amounts)
        return amounts.error();
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

std::expected<void, TariffEditProblem> storeTariffEdit(
    Tariff &record, const TariffEdit &edit, std::optional<std::uint32_t> newIdNumber, const QLocale &locale)
{
    const auto amounts = editAmounts(edit, locale);
    if (!amounts)
        return std::unexpected(amounts.error());

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
    record.UnitCost = amounts->unitCost;
    record.MinCharge = amounts->minCharge;
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

std::uint32_t nextDayOfMonth(std::uint32_t day) { return day >= 1 && day < 28 ? day + 1 : 1; }

std::uint32_t previousDayOfMonth(std::uint32_t day) { return day > 1 && day <= 28 ? day - 1 : 28; }

std::uint32_t nextMonth(std::uint32_t month) { return month >= 1 && month < 12 ? month + 1 : 1; }

std::uint32_t previousMonth(std::uint32_t month) { return month > 1 && month <= 12 ? month - 1 : 12; }

std::uint32_t nextYear(std::uint32_t year)
{
    return year < std::numeric_limits<std::uint32_t>::max() ? year + 1 : year;
}

std::uint32_t previousYear(std::uint32_t year) { return year > 1 ? year - 1 : 2000; }
