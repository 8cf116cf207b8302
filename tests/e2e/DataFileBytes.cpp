#include "DataFileBytes.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace DataFileBytes {

namespace {

std::uint64_t littleEndian(const QByteArray &bytes, qsizetype offset, int width)
{
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | std::uint8_t(bytes.at(offset + i));
    return value;
}

void putLittleEndian(QByteArray &bytes, qsizetype offset, int width, std::uint64_t value)
{
    for (int i = 0; i < width; ++i)
        bytes[offset + i] = char((value >> (8 * i)) & 0xFF);
}

QDateTime moment(const QByteArray &log, qsizetype offset)
{
    const QDate date(2000 + u8(log, offset + 2), u8(log, offset + 1), u8(log, offset));
    const QTime time(u8(log, offset + 3), u8(log, offset + 4), u8(log, offset + 5));
    return QDateTime(date, time);
}

} // namespace

std::uint8_t u8(const QByteArray &bytes, qsizetype offset) { return std::uint8_t(littleEndian(bytes, offset, 1)); }

std::uint16_t u16(const QByteArray &bytes, qsizetype offset) { return std::uint16_t(littleEndian(bytes, offset, 2)); }

std::uint32_t u32(const QByteArray &bytes, qsizetype offset) { return std::uint32_t(littleEndian(bytes, offset, 4)); }

std::int64_t i64(const QByteArray &bytes, qsizetype offset) { return std::int64_t(littleEndian(bytes, offset, 8)); }

void putU8(QByteArray &bytes, qsizetype offset, std::uint8_t value) { putLittleEndian(bytes, offset, 1, value); }

void putU32(QByteArray &bytes, qsizetype offset, std::uint32_t value) { putLittleEndian(bytes, offset, 4, value); }

void putI64(QByteArray &bytes, qsizetype offset, std::int64_t value)
{
    putLittleEndian(bytes, offset, 8, std::uint64_t(value));
}

int providerCount(const QByteArray &providers) { return u16(providers, 6); }

qsizetype providerOffset(int index) { return kProvidersHeaderSize + qsizetype(index) * kProviderRecordSize; }

QString providerName(const QByteArray &providers, int index)
{
    const qsizetype name = providerOffset(index) + 4;
    const int length = std::min<int>(u8(providers, name), 64);
    return QString::fromLatin1(providers.mid(name + 1, length));
}

std::optional<int> providerIndex(const QByteArray &providers, const QString &name)
{
    for (int index = 0; index < providerCount(providers); ++index) {
        if (providerName(providers, index) == name)
            return index;
    }
    return std::nullopt;
}

qsizetype callOffset(int slot) { return qsizetype(slot) * kCallRecordSize; }

QDateTime callStart(const QByteArray &log, int slot) { return moment(log, callOffset(slot)); }

QDateTime callEnd(const QByteArray &log, int slot) { return moment(log, callOffset(slot) + 6); }

QByteArray tariffsFile(const EveryDayTariff &tariff)
{
    QByteArray bytes(kTariffsFileSize, '\0');
    putU32(bytes, 0, tariff.id);
    putU8(bytes, 4, std::uint8_t(tariff.name.size()));
    bytes.replace(5, tariff.name.size(), tariff.name);
    putU32(bytes, 72, 0); // start: midnight
    putU32(bytes, 76, 86399); // finish: the day's last second
    putU8(bytes, 80, tariff.unitKind);
    putU32(bytes, 84, 1); // seconds per pulse, unused here
    putU8(bytes, 88, tariff.chargeKind);
    putI64(bytes, 92, tariff.unitCost);
    putI64(bytes, 100, tariff.minCharge);
    putU8(bytes, 108, 1); // every day
    putU32(bytes, 132, 0x0000FF00);
    return bytes;
}

std::optional<QString> settingsValue(const QByteArray &settings, const QString &key)
{
    for (const QString &line : QString::fromLatin1(settings).split(QRegularExpression(QStringLiteral("[\r\n]+")))) {
        if (line.section(u'=', 0, 0).trimmed() == key)
            return line.section(u'=', 1).trimmed();
    }
    return std::nullopt;
}

} // namespace DataFileBytes
