#include "core/app/SettingsEdit.h"

#include "core/app/AppCore.h"
#include "core/store/Cp1252.h"

#include <utility>

namespace {

std::size_t slot(SettingsSwitch which) { return std::size_t(int(which) - 1); }

const QColor kInUse = QColor(255, 255, 255);
const QColor kNotInUse = QColor(192, 192, 192);

} // namespace

SettingsEdit::SettingsEdit(const Settings &settings, QString defaultSymbol)
    : m_defaultSymbol(std::move(defaultSymbol))
{
    m_on[slot(SettingsSwitch::ShowHint)] = settings.ShowHint;
    m_on[slot(SettingsSwitch::PlayApplicationSounds)] = settings.PlayApplicationSounds;
    m_on[slot(SettingsSwitch::AutoUpdateProvider)] = settings.AutoUpdateProvider;
    m_on[slot(SettingsSwitch::RunAtStartup)] = settings.RunAtStartup;
    m_on[slot(SettingsSwitch::ShowConnectionTimeOnTitle)] = settings.ShowConnectionTimeOnTitle;
    m_on[slot(SettingsSwitch::LoadMinimised)] = settings.LoadMinimised;
    m_on[slot(SettingsSwitch::UseUserCurrency)] = settings.UseUserCurrency;
    m_on[slot(SettingsSwitch::UseDefaultCurrency)] = !settings.UseUserCurrency;
    m_on[slot(SettingsSwitch::NotifyCallEnded)] = settings.NotifyCallEnded;
    setUserSymbol(settings.CurrencyString);
}

bool SettingsEdit::isOn(SettingsSwitch which) const { return m_on.at(slot(which)); }

void SettingsEdit::set(SettingsSwitch which, bool on)
{
    m_on.at(slot(which)) = on;
    if (which == SettingsSwitch::UseUserCurrency)
        m_on[slot(SettingsSwitch::UseDefaultCurrency)] = !on;
    else if (which == SettingsSwitch::UseDefaultCurrency)
        m_on[slot(SettingsSwitch::UseUserCurrency)] = !on;
}

void SettingsEdit::setUserSymbol(const QString &symbol) { m_userSymbol = symbol.left(kMaxSymbolLength); }

SymbolFieldColours SettingsEdit::fieldColours() const
{
    if (isOn(SettingsSwitch::UseUserCurrency))
        return { kInUse, kNotInUse };
    return { kNotInUse, kInUse };
}

void SettingsEdit::apply(AppCore &core) const
{
    Settings &settings = core.settings();
    settings.ShowHint = isOn(SettingsSwitch::ShowHint);
    settings.PlayApplicationSounds = isOn(SettingsSwitch::PlayApplicationSounds);
    settings.AutoUpdateProvider = isOn(SettingsSwitch::AutoUpdateProvider);
    settings.RunAtStartup = isOn(SettingsSwitch::RunAtStartup);
    settings.ShowConnectionTimeOnTitle = isOn(SettingsSwitch::ShowConnectionTimeOnTitle);
    settings.LoadMinimised = isOn(SettingsSwitch::LoadMinimised);
    settings.UseUserCurrency = isOn(SettingsSwitch::UseUserCurrency);
    settings.NotifyCallEnded = isOn(SettingsSwitch::NotifyCallEnded);
    // Stored trimmed, so the symbol read back at the next start gives the
    // same currency text as the one set here.
    settings.CurrencyString = m_userSymbol.trimmed();
    core.setCurrencyText(currencyTextInForce(settings.UseUserCurrency, settings.CurrencyString, m_defaultSymbol));
}

QString SettingsEdit::defaultSymbolText() const
{
    return m_defaultSymbol.trimmed().isEmpty() ? QStringLiteral("None") : m_defaultSymbol;
}

QString currencyTextInForce(bool useUserCurrency, const QString &userSymbol, const QString &defaultSymbol)
{
    return (useUserCurrency ? userSymbol : defaultSymbol).trimmed() + QLatin1Char(' ');
}

bool storableInSettings(const QString &text) { return cp1252::decode(cp1252::encode(text)) == text; }
