#pragma once

#include "core/store/Records.h"

#include <QString>

#include <cstdint>

// What can be wrong with a call record read from a file. Fields are checked
// in record order, so the first fault named is the first field at fault.
enum class CallRecordFault {
    None,
    StartDate, // not a real day
    StartTime, // hour, minute or second out of range
    EndDate,
    EndTime,
    EndBeforeStart,
    Duration, // longer than the call's span could hold
    Cost, // negative or beyond any call
};

// The largest cost one call can carry: far beyond any bill, yet a log and an
// archive full of such calls still sum without saturating. 1/10000 of money.
inline constexpr MoneyValue kMaxCallCost = MoneyValue(10'000'000'000) * kMoneyUnit;

// The date and time bytes, duration and cost of a record. Deleted records
// and slots never used are not calls and are always sound. Two-digit years
// are taken in one century; a call may run from year 99 into year 00.
CallRecordFault callRecordFault(const CallRecord &record);

// What is wrong, in words, with the bytes that are wrong: "its start
// 2026-13-04 is not a real date".
QString callRecordFaultText(const CallRecord &record, CallRecordFault fault);
