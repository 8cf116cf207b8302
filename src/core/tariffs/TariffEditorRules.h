#pragma once

#include "core/store/Tariff.h"

#include <QDate>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <expected>
#include <optional>

// What the tariff editor's controls hold when the user saves, and the rules
// that decide whether and how it becomes a record of the table.

// The kinds of days a tariff applies to (the record's AppliesTo).
enum class AppliesKind : std::uint8_t {
    EveryDay = 1,
    DaysOfWeek = 2,
    DayOfMonth = 3,
    Month = 4,
    Year = 5,
    Date = 6,
    Era = 7,
};

struct TariffEdit {
    QString name;
    std::int32_t startTime = 0; // seconds since midnight, first second of the window
    std::int32_t finishTime = 86399; // seconds since midnight, last second (inclusive)
    std::uint8_t unitKind = 1;
    std::int32_t secondsPerPulse = 60;
    std::uint8_t chargeKind = 1;
    QString unitCost; // as typed, in the user's locale
    QString minCharge;
    // The amounts the money fields were loaded with: a field still reading
    // moneyFieldText of its amount keeps that amount to the unit.
    MoneyValue unitCostLoaded = 0;
    MoneyValue minChargeLoaded = 0;
    std::uint32_t colour = 0; // 0x00BBGGRR
    AppliesKind appliesTo = AppliesKind::EveryDay;
    std::uint32_t daySet = 96; // Monday 1 ... Sunday 64
    std::uint32_t dayOfMonth = 1; // 1..28
    std::uint32_t month = 1; // 1..12
    std::uint32_t year = 1999;
    QDate date; // the specific date
    QDate dateFrom; // the era
    QDate dateTo;
};

// Why a save is refused, in the order the checks run.
enum class TariffEditProblem {
    EmptyName,
    StartNotBeforeFinish,
    EraNotOrdered,
    UnitCostNotAmount,
    UnitCostNegative,
    MinChargeNotAmount,
    MinChargeNegative,
    TableFull, // a new tariff when all 256 slots are in use
    WrongMode, // New while entering or editing, Save while viewing
};

// The first check the edit fails, if any. A name of blanks passes; the era
// order is checked only when the era kind is chosen.
[[nodiscard]] std::optional<TariffEditProblem> checkTariffEdit(
    const TariffEdit &edit, const QLocale &locale = QLocale());

// The index of the last record in use that would compete with the edit for
// the same seconds on the same days: the windows share a second and the
// kinds match with the same day set, day, month, year or date, or with eras
// that share a date. `skipIndex` is the record being edited.
[[nodiscard]] std::optional<int> findTariffClash(
    const TariffTable &table, const TariffEdit &edit, std::optional<int> skipIndex);

// Writes the edit into the record. A new record starts from zero bytes with
// the given id; an edited one keeps its id, its totals and the fields its
// kind does not use. Refused, leaving the record as it was, when a typed
// money field is not an amount or is negative.
[[nodiscard]] std::expected<void, TariffEditProblem> storeTariffEdit(Tariff &record, const TariffEdit &edit,
    std::optional<std::uint32_t> newIdNumber, const QLocale &locale = QLocale());

// Removes record `index` by moving every later record down one slot; the
// slot that falls out of use keeps its bytes. False when `index` is not in use.
bool deleteTariffAt(TariffTable &table, int index);

// The sixteen colours a tariff can carry, as 0x00BBGGRR, left to right.
inline constexpr std::array<std::uint32_t, 16> kTariffColours = {
    0x000000,
    0x000080,
    0x008000,
    0x008080,
    0x800000,
    0x800080,
    0x808000,
    0xC0C0C0,
    0x808080,
    0x0000FF,
    0x00FF00,
    0x00FFFF,
    0xFF0000,
    0xFF00FF,
    0xFFFF00,
    0xFFFFFF,
};
inline constexpr int kNewTariffColourIndex = 2;

// The strip index of a stored colour, or nothing when it is not one of the sixteen.
std::optional<int> tariffColourIndex(std::uint32_t colour);

// The minus and plus buttons of the day, month and year pickers. Values
// outside the range (a damaged record) step back into it.
std::uint32_t nextDayOfMonth(std::uint32_t day); // after 28 comes 1
std::uint32_t previousDayOfMonth(std::uint32_t day); // before 1 comes 28
std::uint32_t nextMonth(std::uint32_t month); // after 12 comes 1
std::uint32_t previousMonth(std::uint32_t month); // before 1 comes 12
std::uint32_t nextYear(std::uint32_t year); // no upper limit
std::uint32_t previousYear(std::uint32_t year); // from 1 it goes to 2000
