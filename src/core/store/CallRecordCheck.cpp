#include "core/store/CallRecordCheck.h"

#include <QString>

namespace {

// A wall clock set back by an hour (summer time ends) lengthens a call
// beyond its stamps; the second is the rounding of stamps to whole seconds.
constexpr std::int64_t kClockSlackSeconds = 3600 + 1;

struct Moment {
    int year, month, day, hour, minute, second;
};

Moment startOf(const CallRecord &r)
{
    return { 2000 + r.StartYear, r.StartMonth, r.StartDay, r.StartHour, r.StartMinute, r.StartSecond };
}

Moment endOf(const CallRecord &r)
{
    return { 2000 + r.EndYear, r.EndMonth, r.EndDay, r.EndHour, r.EndMinute, r.EndSecond };
}

// Every record of the log is checked at each refill: plain arithmetic here,
// rather than a date object per stamp, keeps a full log's check cheap.
constexpr bool leapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

constexpr int daysInMonth(int year, int month)
{
    constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

bool realDate(const Moment &m)
{
    return m.year <= 2099 && m.month >= 1 && m.month <= 12 && m.day >= 1 && m.day <= daysInMonth(m.year, m.month);
}

bool realTime(const Moment &m) { return m.hour < 24 && m.minute < 60 && m.second < 60; }

// Days since 1 March of year 0 in the Gregorian calendar, for a real date
// from 2000 on: counted from March, a leap day ends its year.
constexpr std::int64_t dayNumber(int year, int month, int day)
{
    const int y = month <= 2 ? year - 1 : year;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return std::int64_t(y) * 365 + y / 4 - y / 100 + y / 400 + dayOfYear;
}

std::int64_t secondsOf(const Moment &m)
{
    return dayNumber(m.year, m.month, m.day) * 86400 + m.hour * 3600 + m.minute * 60 + m.second;
}

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QString dateText(const Moment &m)
{
    return QStringLiteral("%1-%2-%3").arg(m.year).arg(twoDigits(m.month), twoDigits(m.day));
}

QString timeText(const Moment &m)
{
    return QStringLiteral("%1:%2:%3").arg(twoDigits(m.hour), twoDigits(m.minute), twoDigits(m.second));
}

} // namespace

CallRecordFault callRecordFault(const CallRecord &record)
{
    if (!isCallSlot(record))
        return CallRecordFault::None;
    const Moment start = startOf(record);
    const Moment end = endOf(record);
    if (!realDate(start))
        return CallRecordFault::StartDate;
    if (!realTime(start))
        return CallRecordFault::StartTime;
    if (!realDate(end))
        return CallRecordFault::EndDate;
    if (!realTime(end))
        return CallRecordFault::EndTime;
    // Two-digit years wrap: a call begun on 31/12/99 may end on 01/01/00.
    constexpr std::int64_t kCenturySeconds = 36525LL * 86400;
    std::int64_t span = secondsOf(end) - secondsOf(start);
    if (end.year < start.year)
        span += kCenturySeconds;
    if (span < 0)
        return CallRecordFault::EndBeforeStart;
    if (std::int64_t(record.DurationSeconds) > span + kClockSlackSeconds)
        return CallRecordFault::Duration;
    if (record.Cost < 0 || record.Cost > kMaxCallCost)
        return CallRecordFault::Cost;
    return CallRecordFault::None;
}

bool isSoundCall(const CallRecord &record) { return callRecordFault(record) == CallRecordFault::None; }

QString callRecordFaultText(const CallRecord &record, CallRecordFault fault)
{
    const Moment start = startOf(record);
    const Moment end = endOf(record);
    switch (fault) {
    case CallRecordFault::None:
        return {};
    case CallRecordFault::StartDate:
        return QStringLiteral("its start date %1 is not a real date").arg(dateText(start));
    case CallRecordFault::StartTime:
        return QStringLiteral("its start time %1 is not a real time").arg(timeText(start));
    case CallRecordFault::EndDate:
        return QStringLiteral("its end date %1 is not a real date").arg(dateText(end));
    case CallRecordFault::EndTime:
        return QStringLiteral("its end time %1 is not a real time").arg(timeText(end));
    case CallRecordFault::EndBeforeStart:
        return QStringLiteral("it ends (%1 %2) before it starts (%3 %4)")
            .arg(dateText(end), timeText(end), dateText(start), timeText(start));
    case CallRecordFault::Duration:
        return QStringLiteral("its duration of %1 seconds does not fit between its start and end")
            .arg(record.DurationSeconds);
    case CallRecordFault::Cost:
        return QStringLiteral("its cost %1 (in 1/10000) is not a cost a call can have").arg(record.Cost);
    }
    return {};
}
