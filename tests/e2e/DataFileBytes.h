#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>

// The program's files read and written byte by byte from their published
// layouts, independently of the program's own record types, so a fault in
// those types cannot hide itself here.
namespace DataFileBytes {

inline constexpr qsizetype kProvidersFileSize = 55306;
inline constexpr qsizetype kLogFileSize = 524288;
inline constexpr qsizetype kTariffsFileSize = 38912;
inline constexpr int kLogSlots = 16384;
inline constexpr int kCallRecordSize = 32;
inline constexpr int kProviderRecordSize = 216;
inline constexpr int kProvidersHeaderSize = 12;
inline constexpr int kTariffRecordSize = 152;
inline constexpr std::int64_t kMoneyUnit = 10000; // a MoneyValue of 1.00

// Little-endian numbers at a byte offset.
std::uint8_t u8(const QByteArray &bytes, qsizetype offset);
std::uint16_t u16(const QByteArray &bytes, qsizetype offset);
std::uint32_t u32(const QByteArray &bytes, qsizetype offset);
std::int64_t i64(const QByteArray &bytes, qsizetype offset);
void putU8(QByteArray &bytes, qsizetype offset, std::uint8_t value);
void putU32(QByteArray &bytes, qsizetype offset, std::uint32_t value);
void putI64(QByteArray &bytes, qsizetype offset, std::int64_t value);

// Providers.data: the provider count, a provider's name, the index of the
// provider of that name, and the offset of record `index`.
int providerCount(const QByteArray &providers);
QString providerName(const QByteArray &providers, int index);
std::optional<int> providerIndex(const QByteArray &providers, const QString &name);
qsizetype providerOffset(int index);

// Log.data: a record's start or end moment (six bytes: day, month, two-digit
// year, hour, minute, second); invalid when the bytes are no moment.
QDateTime callStart(const QByteArray &log, int slot);
QDateTime callEnd(const QByteArray &log, int slot);
qsizetype callOffset(int slot);

// One tariff that applies every day from 00:00:00 to 23:59:59, put into
// slot 0 of an otherwise empty Tariffs.data image.
struct EveryDayTariff {
    std::uint32_t id = 1;
    QByteArray name;
    std::uint8_t unitKind = 1; // 1 per minute, 2 per second, 3 per pulse
    std::uint8_t chargeKind = 1; // 1 incremental, 2 single
    std::int64_t unitCost = 0; // MoneyValue
    std::int64_t minCharge = 0; // MoneyValue
};
QByteArray tariffsFile(const EveryDayTariff &tariff);

// The value of `key` in settings.data; nullopt when the key is missing.
std::optional<QString> settingsValue(const QByteArray &settings, const QString &key);

} // namespace DataFileBytes
