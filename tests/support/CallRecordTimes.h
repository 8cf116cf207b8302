#pragma once

#include "core/store/Records.h"

#include <QDateTime>

#include <cstdint>

// A record's times as a log keeps them: it ends its seconds after it starts,
// or it is damaged and never counted.
inline void setCallTimes(CallRecord &record, const QDateTime &start, std::uint32_t seconds)
{
    const QDateTime end = start.addSecs(seconds);
    record.StartDay = std::uint8_t(start.date().day());
    record.StartMonth = std::uint8_t(start.date().month());
    record.StartYear = std::uint8_t(start.date().year() % 100);
    record.StartHour = std::uint8_t(start.time().hour());
    record.StartMinute = std::uint8_t(start.time().minute());
    record.StartSecond = std::uint8_t(start.time().second());
    record.EndDay = std::uint8_t(end.date().day());
    record.EndMonth = std::uint8_t(end.date().month());
    record.EndYear = std::uint8_t(end.date().year() % 100);
    record.EndHour = std::uint8_t(end.time().hour());
    record.EndMinute = std::uint8_t(end.time().minute());
    record.EndSecond = std::uint8_t(end.time().second());
    record.DurationSeconds = seconds;
}
