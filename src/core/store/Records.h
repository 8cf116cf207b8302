#pragma once

#include "core/store/CountedString.h"
#include "core/store/Values.h"

#include <cstddef>
#include <cstdint>

// The records and tables of Providers.data and Log.data, laid out byte for
// byte as the files hold them (packed, little-endian, gaps included).

#pragma pack(push, 1)

struct Provider {
    std::uint8_t reserved0[4];
    CountedString<64> Name; // key of the table: the phonebook entry name
    std::uint8_t reserved69;
    std::uint8_t Registered; // 1 once created from a phonebook entry
    std::uint8_t reserved71[5];
    std::uint8_t reserved76[8];
    std::uint32_t TotalSeconds;
    MoneyValue TotalCost;
    MoneyValue ChargesTodate; // monthly fees and extra hours to date
    std::uint16_t TotalCalls;
    std::uint8_t MonthStartDay; // 1..31, stored and shown only
    std::uint8_t padding107;
    std::uint32_t MonthSeconds;
    MoneyValue MonthCost;
    std::uint8_t reserved120[8];
    std::uint16_t MonthCalls;
    std::uint8_t padding130[2];
    std::uint32_t TodaySeconds;
    MoneyValue TodayCost;
    std::uint16_t TodayCalls;
    std::uint8_t padding146[2];
    std::uint8_t reserved148[8];
    std::uint8_t reserved156[8];
    std::uint16_t MonthlyHourLimit;
    std::uint8_t padding166[2];
    MoneyValue ExtraPerHour;
    MoneyValue MonthlyFee;
    DateTimeValue StartedOn; // 0 when never set
    DateTimeValue TodayDate; // whole date the Today counters belong to
    DateTimeValue MonthPeriodStart; // always 0
    DateTimeValue LastCallDate; // whole date on which the last call began
};

inline constexpr int kMaxProviders = 256;
inline constexpr char kFileMagic[6] = { 'O', 'L', 'S', '1', '0', '\0' };

struct ProviderTable {
    char FileMagic[6];
    std::uint16_t Count; // providers in use, slots 0..Count-1
    std::uint16_t Current; // index of the selected provider
    std::uint8_t padding10[2];
    Provider records[kMaxProviders];
};

struct CallRecord {
    std::uint8_t StartDay;
    std::uint8_t StartMonth;
    std::uint8_t StartYear; // two digits
    std::uint8_t StartHour;
    std::uint8_t StartMinute;
    std::uint8_t StartSecond;
    std::uint8_t EndDay;
    std::uint8_t EndMonth;
    std::uint8_t EndYear;
    std::uint8_t EndHour;
    std::uint8_t EndMinute;
    std::uint8_t EndSecond;
    std::uint8_t ProviderIndex; // 254 deleted, 255 never used
    std::uint8_t unused13[3];
    std::uint32_t DurationSeconds;
    MoneyValue Cost;
    std::uint8_t TariffId; // low 8 bits of the tariff's IdNumber, 0 without tariff
    std::uint8_t unused29[3];
};

#pragma pack(pop)

inline constexpr std::uint8_t kDeletedCall = 254;
inline constexpr std::uint8_t kUnusedSlot = 255;
inline constexpr int kMaxLogRecords = 16384;

// A slot that holds a call, sound or damaged: not deleted, not never used.
// Compacting the log keeps these, so a damaged call is never dropped from its file.
inline bool isCallSlot(const CallRecord &record) { return record.ProviderIndex < kDeletedCall; }

// Dates, times, duration and cost are possible (see CallRecordCheck.h).
bool isSoundCall(const CallRecord &record);

// Readers skip deleted calls, slots never used and damaged calls: an
// impossible date or cost is never shown or summed.
inline bool isLoggedCall(const CallRecord &record) { return isCallSlot(record) && isSoundCall(record); }

// The call log in memory; only the slots are stored in Log.data, the count
// lives in settings.data.
struct CallLogTable {
    std::int32_t Count = 0; // records 0..Count-1 are the log, oldest first
    CallRecord records[kMaxLogRecords];
};

static_assert(sizeof(Provider) == 216);
static_assert(offsetof(Provider, Name) == 4);
static_assert(offsetof(Provider, Registered) == 70);
static_assert(offsetof(Provider, TotalSeconds) == 84);
static_assert(offsetof(Provider, TotalCost) == 88);
static_assert(offsetof(Provider, ChargesTodate) == 96);
static_assert(offsetof(Provider, TotalCalls) == 104);
static_assert(offsetof(Provider, MonthStartDay) == 106);
static_assert(offsetof(Provider, MonthSeconds) == 108);
static_assert(offsetof(Provider, MonthCost) == 112);
static_assert(offsetof(Provider, MonthCalls) == 128);
static_assert(offsetof(Provider, TodaySeconds) == 132);
static_assert(offsetof(Provider, TodayCost) == 136);
static_assert(offsetof(Provider, TodayCalls) == 144);
static_assert(offsetof(Provider, MonthlyHourLimit) == 164);
static_assert(offsetof(Provider, ExtraPerHour) == 168);
static_assert(offsetof(Provider, MonthlyFee) == 176);
static_assert(offsetof(Provider, StartedOn) == 184);
static_assert(offsetof(Provider, TodayDate) == 192);
static_assert(offsetof(Provider, MonthPeriodStart) == 200);
static_assert(offsetof(Provider, LastCallDate) == 208);
static_assert(offsetof(ProviderTable, Count) == 6);
static_assert(offsetof(ProviderTable, Current) == 8);
static_assert(offsetof(ProviderTable, records) == 12);
static_assert(sizeof(ProviderTable) == 55308);
static_assert(sizeof(CallRecord) == 32);
static_assert(offsetof(CallRecord, ProviderIndex) == 12);
static_assert(offsetof(CallRecord, DurationSeconds) == 16);
static_assert(offsetof(CallRecord, Cost) == 20);
static_assert(offsetof(CallRecord, TariffId) == 28);
