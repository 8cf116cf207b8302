#include "core/store/DataFiles.h"

#include "core/store/CallRecordCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

QByteArray bytesOf(const void *data, qint64 size) { return QByteArray(static_cast<const char *>(data), size); }

bool allZero(const void *data, std::size_t size)
{
    const auto *bytes = static_cast<const unsigned char *>(data);
    return std::all_of(bytes, bytes + size, [](unsigned char b) { return b == 0; });
}

int slotsRead(qint64 bytesRead, std::size_t slotSize, int maxSlots)
{
    if (bytesRead <= 0)
        return 0;
    return int(std::min<qint64>(bytesRead / qint64(slotSize), maxSlots));
}

// A device, pipe or socket under a data file's name would block or feed
// endless bytes; only a plain file (or a link to one) is read.
bool plainFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile();
}

} // namespace

DataFiles::DataFiles(QString folder)
    : m_folder(std::move(folder))
{
}

QString DataFiles::path(const QString &fileName) const { return QDir(m_folder).filePath(fileName); }

ProviderFileState DataFiles::loadAppData(ProviderTable &table) const
{
    const ProviderFileState state = readAppData(table);
    if (state == ProviderFileState::Invalid) {
        const QString copy = path(kInvalidCopy);
        QFile::remove(copy);
        QFile::copy(path(kProvidersFile), copy);
    }
    return state;
}

ProviderFileState DataFiles::readAppData(ProviderTable &table) const
{
    QFile file(path(kProvidersFile));
    if (!file.exists())
        return ProviderFileState::Missing;
    if (!plainFile(file.fileName()) || !file.open(QIODevice::ReadOnly))
        return ProviderFileState::Unreadable;
    const QByteArray magic = file.read(sizeof kFileMagic);
    if (magic.size() == qsizetype(sizeof kFileMagic)
        && std::memcmp(magic.constData(), kFileMagic, sizeof kFileMagic) == 0 && file.size() == kProvidersFileSize) {
        file.seek(0);
        const QByteArray image = file.read(kProvidersFileSize);
        if (image.size() != kProvidersFileSize)
            return ProviderFileState::Unreadable;
        std::memcpy(&table, image.constData(), std::size_t(kProvidersFileSize));
        clampProviderHeader(table);
        return ProviderFileState::Loaded;
    }
    return ProviderFileState::Invalid;
}

qint64 DataFiles::readInto(const QString &fileName, void *target, qint64 size) const
{
    QFile file(path(fileName));
    if (!plainFile(file.fileName()) || !file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.read(size);
    std::memcpy(target, bytes.constData(), std::size_t(bytes.size()));
    return bytes.size();
}

qint64 DataFiles::loadLogData(CallLogTable &log) const { return readInto(kLogFile, log.records, kLogFileSize); }

qint64 DataFiles::loadTarifData(TariffTable &table) const
{
    return readInto(kTariffsFile, table.records, kTariffsFileSize);
}

DataFiles::ArchiveState DataFiles::loadLogArchive(std::vector<CallRecord> &calls) const
{
    calls.clear();
    QFile file(path(kLogArchiveFile));
    if (!file.exists())
        return ArchiveState::Missing;
    if (!plainFile(file.fileName()) || !file.open(QIODevice::ReadOnly))
        return ArchiveState::Unreadable;
    if (file.size() % qint64(sizeof(CallRecord)) != 0)
        return ArchiveState::Damaged;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || bytes.size() != file.size())
        return ArchiveState::Unreadable;
    calls.resize(std::size_t(bytes.size()) / sizeof(CallRecord));
    std::memcpy(static_cast<void *>(calls.data()), bytes.constData(), std::size_t(bytes.size()));
    return ArchiveState::Loaded;
}

std::expected<void, FileError> DataFiles::saveAppData(const ProviderTable &table) const
{
    return writeFileAtomically(path(kProvidersFile), bytesOf(&table, kProvidersFileSize));
}

std::expected<void, FileError> DataFiles::saveLogData(const CallLogTable &log) const
{
    return writeFileAtomically(path(kLogFile), bytesOf(log.records, kLogFileSize));
}

std::expected<void, FileError> DataFiles::saveTarifData(const TariffTable &table) const
{
    return writeFileAtomically(path(kTariffsFile), bytesOf(table.records, kTariffsFileSize));
}

int logCountFromSlots(const CallLogTable &log, qint64 bytesRead)
{
    // A slot is in use unless it is the 0xFF fill or the all-zero last slot of a blank log.
    for (int i = slotsRead(bytesRead, sizeof(CallRecord), kMaxLogRecords); i > 0; --i) {
        const CallRecord &record = log.records[i - 1];
        if (record.ProviderIndex != kUnusedSlot && !allZero(&record, sizeof record))
            return i;
    }
    return 0;
}

int tariffCountFromSlots(const TariffTable &table, qint64 bytesRead)
{
    // Tariffs are packed from slot 0 and ids are unique and non-zero; deleting
    // leaves a copy of the new last record behind it, which repeats its id.
    std::set<std::uint32_t> seen;
    const int slotCount = slotsRead(bytesRead, sizeof(Tariff), kMaxTariffs);
    for (int i = 0; i < slotCount; ++i) {
        const Tariff &tariff = table.records[i];
        if (allZero(&tariff, sizeof tariff) || tariff.IdNumber == 0 || !seen.insert(tariff.IdNumber).second)
            return i;
    }
    return slotCount;
}

std::uint32_t highestTariffId(const TariffTable &table)
{
    std::uint32_t highest = 0;
    for (const Tariff &tariff : table.records)
        highest = std::max(highest, tariff.IdNumber);
    return highest;
}

DamagedCalls damagedCalls(const CallRecord *calls, int callCount, int providerCount)
{
    DamagedCalls damaged;
    for (int i = 0; i < callCount; ++i) {
        const CallRecord &call = calls[i];
        if (!isCallSlot(call))
            continue;
        if (callRecordFault(call) == CallRecordFault::None && (providerCount < 0 || call.ProviderIndex < providerCount))
            continue;
        if (damaged.count++ == 0)
            damaged.first = i;
    }
    return damaged;
}

void clampProviderHeader(ProviderTable &table)
{
    table.Count = std::min<std::uint16_t>(table.Count, kMaxProviders);
    if (table.Current >= table.Count)
        table.Current = table.Count == 0 ? 0 : table.Count - 1;
}

void applyStoredLogCount(CallLogTable &log, const StoredCounts &counts, qint64 logBytes)
{
    // A count that is missing or out of range must not hide records the data
    // file still holds: the next call would overwrite them.
    const auto &logRecords = counts.logRecords;
    if (logRecords && *logRecords >= 0 && *logRecords <= kMaxLogRecords)
        log.Count = std::int32_t(*logRecords);
    else
        log.Count = logBytes > 0 ? logCountFromSlots(log, logBytes) : 0;
}

void applyStoredTariffCounts(TariffTable &tariffs, const StoredCounts &counts, qint64 tariffBytes)
{
    const auto &tariffRecords = counts.tariffRecords;
    if (tariffRecords && *tariffRecords >= 0 && *tariffRecords <= kMaxTariffs)
        tariffs.Count = std::uint16_t(*tariffRecords);
    else
        tariffs.Count = std::uint16_t(tariffBytes > 0 ? tariffCountFromSlots(tariffs, tariffBytes) : 0);

    const auto &lastId = counts.lastTariffId;
    const std::uint32_t highest = highestTariffId(tariffs);
    if (lastId && *lastId >= 0 && *lastId <= std::int64_t(UINT32_MAX))
        tariffs.LastTariffIdNumber = std::max(std::uint32_t(*lastId), highest);
    else
        tariffs.LastTariffIdNumber = highest; // ids must never be handed out twice
}
