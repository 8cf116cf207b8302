#pragma once

#include <QString>

#include <array>

// Names under which the tariff windows show the codes of a Tariff record.
// Each table is indexed by the code itself; index 0 is no code and reads empty.

inline constexpr std::array<const char *, 4> TariffUnitNames = {"", "Per Minute", "Per Second", "Per Pulse"};
inline constexpr std::array<const char *, 3> ChargeKindNames = {"", "Incremental", "Single"};
inline constexpr std::array<const char *, 13> MonthNames = {"",     "January", "February",  "March",   "April",
                                                            "May",  "June",    "July",      "August",  "September",
                                                            "October", "November", "December"};
// Sunday first, as weekday numbers count (Sunday 0 .. Saturday 6).
inline constexpr std::array<const char *, 7> ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thur", "Fri", "Sat"};

// The table's name for a code; empty for a code outside the table, as a
// damaged record may hold.
template <std::size_t N>
QString displayName(const std::array<const char *, N> &names, int code)
{
    if (code < 0 || code >= int(N))
        return {};
    return QString::fromLatin1(names[std::size_t(code)]);
}
