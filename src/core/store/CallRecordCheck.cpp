#include "core/store/CallRecordCheck.h"

#include "core/store/DateTimeValue.h"

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

// The day of a stamp, when it is a real one; years end at 2099, where two
// digits wrap.
std::optional<std::int64_t> realDay(const Moment &m)
{
    return m.year <= 2099 ? civilDayNumber(m.year, m.month, m.day) : std::nullopt;
}

bool realTime(const Moment &m) { return m.hour < 24 && m.minute < 60 && m.second < 60; }

std::int64_t secondOfDay(const Moment &m) { return m.hour * 3600 + m.minute * 60 + m.second; }

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
    const std::optional<std::int64_t> startDay = realDay(start);
    if (!startDay)
        return CallRecordFault::StartDate;
    if (!realTime(start))
        return CallRecordFault::StartTime;
    // Most calls end on the day they began.
    const bool sameDay = end.year == start.year && end.month == start.month && end.day == start.day;
    const std::optional<std::int64_t> endDay = sameDay ? startDay : realDay(end);
    if (!endDay)
        return CallRecordFault::EndDate;
    if (!realTime(end))
        return CallRecordFault::EndTime;
    // Two-digit years wrap: a call begun on 31/12/99 may end on 01/01/00.
    constexpr std::int64_t kCenturySeconds = 36525LL * 86400;
    std::int64_t span = (*endDay - *startDay) * 86400 + secondOfDay(end) - secondOfDay(start);
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
