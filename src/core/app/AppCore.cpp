#include "app/AppCore.h"

#include "calllog/ProviderTotals.h"
#include "spending/SpendingFile.h"
#include "store/TableBlanks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

// budgets.data holds a few lines per provider; anything larger is not ours.
constexpr qint64 kMaxBudgetsBytes = 1 << 20;

QString folderOf(const QString &programPath)
{
    return QFileInfo(programPath).absolutePath();
}

} // namespace

AppCore::AppCore(const QString &programPath, AppServices services)
    : m_programPath(programPath)
    , m_folder(folderOf(programPath))
    , m_services(services)
    , m_files(m_folder)
    , m_settingsFile(QDir(m_folder).filePath(SettingsFile::kFileName))
    , m_providers(std::make_unique<ProviderTable>())
    , m_log(std::make_unique<CallLogTable>())
    , m_tariffs(std::make_unique<TariffTable>())
    , m_systemCurrency(QLocale::system().currencySymbol())
    , m_currencyText(m_systemCurrency + QLatin1Char(' '))
{
    blankProviderTable(*m_providers);
    blankCallLog(*m_log);
    blankTariffTable(*m_tariffs);
}

StartupReport AppCore::loadAll()
{
    blankProviderTable(*m_providers);
    blankCallLog(*m_log);
    blankTariffTable(*m_tariffs);
    m_settings = Settings{};

    StartupReport report;
    report.invalidProviderFile = m_files.loadAppData(*m_providers) == ProviderFileState::Invalid;
    const qint64 logBytes = m_files.loadLogData(*m_log);
    const qint64 tariffBytes = m_files.loadTarifData(*m_tariffs);
    const StoredCounts counts = m_settingsFile.load(m_settings);
    m_currencyText = (m_settings.UseUserCurrency ? m_settings.CurrencyString : m_systemCurrency) + QLatin1Char(' ');
    applyStoredCounts(*m_log, *m_tariffs, counts, logBytes, tariffBytes);
    QFile budgets(QDir(m_folder).filePath(spendingfile::kFileName));
    m_spending = budgets.open(QIODevice::ReadOnly) ? spendingfile::parse(budgets.read(kMaxBudgetsBytes)) : SpendingPlan{};
    return report;
}

std::expected<void, FileError> AppCore::writeUserFile(const QString &path, const QByteArray &bytes) const
{
    return writeFileAtomically(path, bytes);
}

void AppCore::noteSave(const QString &fileName, const std::expected<void, FileError> &result)
{
    if (result) {
        m_failingFiles.remove(fileName);
        return;
    }
    if (m_failingFiles.contains(fileName))
        return;
    m_failingFiles.insert(fileName);
    if (m_onSaveFailure)
        m_onSaveFailure(result.error());
}

void AppCore::SaveAppData()
{
    restartToday(*m_providers, clock().now().date());
    noteSave(DataFiles::kProvidersFile, m_files.saveAppData(*m_providers));
}

void AppCore::archiveLogRecords(const QByteArray &records)
{
    m_pendingArchive += records;
}

QString AppCore::archivePath() const
{
    return m_files.path(kLogArchiveFile);
}

void AppCore::saveLogArchive()
{
    const QString path = archivePath();
    QByteArray bytes;
    QFile existing(path);
    if (existing.exists()) {
        // Never replace an archive that cannot be read: its calls would be lost.
        if (!existing.open(QIODevice::ReadOnly)) {
            noteSave(kLogArchiveFile, std::unexpected(FileError{path, existing.errorString()}));
            return;
        }
        bytes = existing.readAll();
        if (existing.error() != QFileDevice::NoError) {
            noteSave(kLogArchiveFile, std::unexpected(FileError{path, existing.errorString()}));
            return;
        }
    }
    const auto result = writeFileAtomically(path, bytes + m_pendingArchive);
    noteSave(kLogArchiveFile, result);
    if (result)
        m_pendingArchive.clear();
}

void AppCore::SaveLogData()
{
    if (!m_pendingArchive.isEmpty())
        saveLogArchive();
    noteSave(DataFiles::kLogFile, m_files.saveLogData(*m_log));
}

void AppCore::SaveTarifData()
{
    noteSave(DataFiles::kTariffsFile, m_files.saveTarifData(*m_tariffs));
}

void AppCore::SaveSettings()
{
    // The registration's outcome is deliberately not reported: without rights
    // to register, the user still needs the settings written and the exit to work.
    (void)m_services.startup.apply(m_settings.RunAtStartup, QDir::toNativeSeparators(m_programPath).toStdString());
    noteSave(SettingsFile::kFileName,
             m_settingsFile.save(m_settings, m_log->Count, m_tariffs->Count, m_tariffs->LastTariffIdNumber));
    SaveSpending();
}

void AppCore::SaveSpending()
{
    const QString path = QDir(m_folder).filePath(spendingfile::kFileName);
    // A user who never set a budget gets no file.
    if (m_spending.budgets.isEmpty() && m_spending.hangUpMarginSeconds == SpendingPlan::kDefaultHangUpMargin
        && !QFile::exists(path))
        return;
    noteSave(spendingfile::kFileName,
             writeFileAtomically(path, spendingfile::serialise(m_spending)));
}

void AppCore::saveEverything()
{
    SaveAppData();
    SaveLogData();
    SaveTarifData();
    SaveSettings();
}

void AppCore::PlayAppSound(AppSound sound)
{
    if (!m_settings.PlayApplicationSounds)
        return;
    const QString name = sound == AppSound::Connected ? QStringLiteral("connected.wav")
                         : sound == AppSound::Warning ? QStringLiteral("warning.wav")
                                                      : QStringLiteral("welcome.wav");
    m_services.sound.play(QDir(m_folder).filePath(QStringLiteral("sounds/default/") + name));
}
