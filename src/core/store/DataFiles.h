#pragma once

#include "core/store/AtomicFile.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "core/store/Tariff.h"

#include <QString>

#include <expected>
#include <vector>

inline constexpr qint64 kProvidersFileSize = 55306; // the table less its last two bytes
inline constexpr qint64 kLogFileSize = 524288;
inline constexpr qint64 kTariffsFileSize = 38912;

enum class ProviderFileState {
    Missing, // first run: the blank table stays
    Loaded,
    Invalid, // wrong magic or size: copied to MyInvalidFile.old, the blank table stays
    Unreadable,
};

// The three data files in the program's folder: raw images of the tables.
class DataFiles {
public:
    explicit DataFiles(QString folder);

    QString path(const QString &fileName) const;

    [[nodiscard]] ProviderFileState loadAppData(ProviderTable &table) const;
    // As loadAppData, but a damaged file is only reported: for readers that
    // must leave the folder as they found it.
    [[nodiscard]] ProviderFileState readAppData(ProviderTable &table) const;
    // Both return the number of bytes read over the slots, -1 when the file
    // is missing or unreadable; a short file fills only the leading slots.
    qint64 loadLogData(CallLogTable &log) const;
    qint64 loadTarifData(TariffTable &table) const;

    // Log.archive.data: the calls moved out of a full log, 32 bytes each,
    // oldest first. Missing is an empty archive; a size that is not a whole
    // number of records, or a file that is not a plain file, is refused.
    enum class ArchiveState { Missing, Loaded, Damaged, Unreadable };
    [[nodiscard]] ArchiveState loadLogArchive(std::vector<CallRecord> &calls) const;

    [[nodiscard]] std::expected<void, FileError> saveAppData(const ProviderTable &table) const;
    [[nodiscard]] std::expected<void, FileError> saveLogData(const CallLogTable &log) const;
    [[nodiscard]] std::expected<void, FileError> saveTarifData(const TariffTable &table) const;

    static inline const QString kProvidersFile = QStringLiteral("Providers.data");
    static inline const QString kLogFile = QStringLiteral("Log.data");
    static inline const QString kTariffsFile = QStringLiteral("Tariffs.data");
    static inline const QString kLogArchiveFile = QStringLiteral("Log.archive.data");
    static inline const QString kInvalidCopy = QStringLiteral("MyInvalidFile.old");

private:
    qint64 readInto(const QString &fileName, void *target, qint64 size) const;

    QString m_folder;
};

// Counts a damaged or missing settings file cannot give, worked out from what
// the data files still hold, so that the next call never overwrites a logged one.
int logCountFromSlots(const CallLogTable &log, qint64 bytesRead);
int tariffCountFromSlots(const TariffTable &table, qint64 bytesRead);
std::uint32_t highestTariffId(const TariffTable &table);

// Set the log's count, and the tariff table's count and id counter, from
// settings.data, or from the slots read when a count is missing or out of range.
void applyStoredLogCount(CallLogTable &log, const StoredCounts &counts, qint64 logBytes);
void applyStoredTariffCounts(TariffTable &tariffs, const StoredCounts &counts, qint64 tariffBytes);

// The calls among `calls` that are damaged (see CallRecordCheck.h), or whose
// provider index is not below `providerCount` when that is given.
struct DamagedCalls {
    int count = 0;
    int first = -1; // index of the first one, -1 when none
};
DamagedCalls damagedCalls(const CallRecord *calls, int callCount, int providerCount = -1);

// Brings counts from a file into the table's range.
void clampProviderHeader(ProviderTable &table);
