#pragma once

#include "core/store/Tariff.h"
#include "core/store/Values.h"

#include <QDateTime>

inline constexpr int kNoTariff = 999;

// The calendar parts of a moment that the tariffs are matched against, in local time.
struct TariffMoment {
    int weekday = 0; // Sunday 0 .. Saturday 6
    int day = 0; // 1..31
    int month = 0; // 1..12
    int year = 0; // four digits
    int secondOfDay = 0; // whole seconds since midnight
    DateTimeValue date = 0; // the date alone
    DateTimeValue value = 0; // the moment, to the whole second
};

TariffMoment tariffMomentOf(const QDateTime &moment);
// The same from a local date and time given as they are, with no time zone to consult.
TariffMoment tariffMomentOf(const QDate &date, const QTime &time);

// Index of the tariff in force at the moment, or kNoTariff. Of all tariffs
// that apply, the last in table order wins. Scans the table without allocating.
int SelectTariffAt(const TariffTable &table, const QDateTime &moment);
int SelectTariffAt(const TariffTable &table, const TariffMoment &moment);
