#pragma once

#include <array>

// Names under which the tariff windows show the codes of a Tariff record.
// The code tables are indexed by the code itself; index 0 is no code.

inline constexpr std::array<const char *, 4> TariffUnitNames = { "", "Per Minute", "Per Second", "Per Pulse" };
inline constexpr std::array<const char *, 3> ChargeKindNames = { "", "Incremental", "Single" };
inline constexpr std::array<const char *, 13> MonthNames = {
    "",
    "January",
    "February",
    "March",
    "April",
    "May",
    "June",
    "July",
    "August",
    "September",
    "October",
    "November",
    "December",
};
// Indexed by weekday number, Sunday 0 .. Saturday 6.
inline constexpr std::array<const char *, 7> ShortDayNames = { "Sun", "Mon", "Tue", "Wed", "Thur", "Fri", "Sat" };
