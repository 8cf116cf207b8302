#pragma once

#include "core/store/AtomicFile.h"
#include "core/store/Settings.h"

#include <QString>

#include <cstdint>
#include <expected>

// settings.data: INI text in Windows-1252, one section "Application".
class SettingsFile {
public:
    explicit SettingsFile(QString path);

    // Reads the keys over the values in memory (each value in memory is the
    // default of its key); geometry is skipped when LoadMinimised is on.
    StoredCounts load(Settings &settings) const;

    // Writes every key, keeping whatever else the file holds.
    [[nodiscard]] std::expected<void, FileError> save(
        const Settings &settings, int logRecords, int tariffRecords, std::uint32_t lastTariffId) const;

    static inline const QString kFileName = QStringLiteral("settings.data");
    static inline const QString kSection = QStringLiteral("Application");

private:
    QString m_path;
};

// An integer as the settings file holds it: decimal, or hexadecimal after
// "0x"; empty when unreadable.
std::optional<std::int64_t> parseSettingsInteger(const QString &text);
