#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

inline constexpr int kCallLogColumns = 8;
// Together within the call log's 468-pixel grid, the last column taking the rest.
inline constexpr std::array<int, kCallLogColumns> kDefaultColumnWidths = { 48, 48, 48, 48, 58, 56, 70, 1024 };
inline constexpr int kDesignedCallLogHeight = 272;

// The user's options and window geometry, as held in memory and stored in
// section "Application" of settings.data.
struct Settings {
    bool RunAtStartup = false;
    bool LoadMinimised = false;
    int MainWindowTop = 0;
    int MainWindowLeft = 0;
    int CallLogHeight = kDesignedCallLogHeight;
    bool CallLogVisible = true;
    bool ShowHint = true;
    bool PlayApplicationSounds = false;
    bool AutoUpdateProvider = true;
    bool ShowConnectionTimeOnTitle = false;
    bool UseUserCurrency = false;
    QString CurrencyString; // the user's own symbol
    bool NotifyCallEnded = false; // a desktop notification with each call's time and cost
    std::array<int, kCallLogColumns> ColumnWidths = kDefaultColumnWidths;

    bool operator==(const Settings &) const = default;
};

// The counts kept in settings.data for the data files; empty when the key is
// missing or its value is not a number.
struct StoredCounts {
    std::optional<std::int64_t> logRecords;
    std::optional<std::int64_t> tariffRecords;
    std::optional<std::int64_t> lastTariffId;
};
