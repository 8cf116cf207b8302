#pragma once

#include "core/store/Settings.h"

#include <QColor>
#include <QString>

#include <array>

class AppCore;

// The eight switches of the settings dialog, numbered as they appear.
enum class SettingsSwitch {
    ShowHint = 1,
    PlayApplicationSounds,
    AutoUpdateProvider,
    RunAtStartup,
    ShowConnectionTimeOnTitle,
    LoadMinimised,
    UseUserCurrency, // "Use this currency symbol"
    UseDefaultCurrency, // "Use the default currency symbol": always the opposite of the one above
    NotifyCallEnded,
};
inline constexpr int kSettingsSwitchCount = 9;

// Background colours of the two symbol fields: the one in use is white.
struct SymbolFieldColours {
    QColor userSymbol;
    QColor defaultSymbol;
};

// The settings dialog's choices while it is open. It starts from the settings
// in memory and touches nothing until apply(), so closing without saving
// leaves every setting and the currency text as they were.
class SettingsEdit {
public:
    static constexpr int kMaxSymbolLength = 10;

    // `defaultSymbol` is the system's currency symbol as it was at start-up.
    SettingsEdit(const Settings &settings, QString defaultSymbol);

    [[nodiscard]] bool isOn(SettingsSwitch which) const;
    // Setting either currency switch sets the other to the opposite.
    void set(SettingsSwitch which, bool on);

    const QString &userSymbol() const { return m_userSymbol; }
    // Keeps the first kMaxSymbolLength characters.
    void setUserSymbol(const QString &symbol);
    const QString &defaultSymbol() const { return m_defaultSymbol; }
    // What the default-symbol field shows: the symbol, or that the system
    // gives none (a C or POSIX locale): "None".
    [[nodiscard]] QString defaultSymbolText() const;

    [[nodiscard]] SymbolFieldColours fieldColours() const;

    // Writes every switch and the user's symbol into the settings in memory
    // and sets the currency text in force. The start-up registration follows
    // at the next settings write.
    void apply(AppCore &core) const;

private:
    std::array<bool, kSettingsSwitchCount> m_on {};
    QString m_userSymbol;
    QString m_defaultSymbol;
};

// The currency text in force: the chosen symbol without surrounding blanks,
// then one blank.
[[nodiscard]] QString currencyTextInForce(
    bool useUserCurrency, const QString &userSymbol, const QString &defaultSymbol);

// Whether settings.data can hold the text as it is (it is Windows-1252).
[[nodiscard]] bool storableInSettings(const QString &text);
