#include "core/app/AppCore.h"

#include "core/calllog/ProviderTotals.h"
#include "core/store/CallVolumeFile.h"
#include "core/store/Money.h"
#include "core/store/SpendingFile.h"
#include "core/store/TableBlanks.h"
#include "core/store/TableLoader.h"
#include "core/store/VolumePlanFile.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// budgets.data holds a few lines per provider; anything larger is not ours.
constexpr qint64 kMaxBudgetsBytes = 1 << 20;
// A damaged budgets.data is copied whole up to this size, and left alone above it.
constexpr qint64 kMaxBudgetsCopyBytes = 64 << 20;

// A RIFF wave with room for its format and data headers; anything else
// would play as silence.
bool isWaveFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 44)
        return false;
    const QByteArray head = file.read(12);
    return head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

} // namespace

AppCore::AppCore(const QString &programPath, AppServices services)
    : AppCore(ProgramFolders::beside(programPath), services)
{
}

AppCore::AppCore(ProgramFolders folders, AppServices services)
    : m_folders(std::move(folders))
    , m_services(services)
    , m_files(m_folders.dataFolder)
    , m_settingsFile(QDir(m_folders.dataFolder).filePath(SettingsFile::kFileName))
    , m_providers(std::make_unique<ProviderTable>())
    , m_log(std::make_unique<CallLogTable>())
    , m_tariffs(std::make_unique<TariffTable>())
    , m_volumes(std::make_unique<CallVolumeTable>())
    , m_systemCurrency(QLocale::system().currencySymbol())
    , m_currencyText(m_systemCurrency + QLatin1Char(' '))
{
    blankProviderTable(*m_providers);
    blankCallLog(*m_log);
    blankTariffTable(*m_tariffs);
}

StartupReport AppCore::loadAll()
{
    noteLogChanged();
    const LoadedTables loaded = loadTables(
        folder(), { m_providers.get(), m_log.get(), m_tariffs.get() }, DamagedProviders::CopyAside, m_systemCurrency);
    m_settings = loaded.settings;
    m_currencyText = loaded.currencyText;
    StartupReport report;
    report.invalidProviderFile = loaded.providers == ProviderFileState::Invalid;
    dropArchivedTwice();
    rememberWritten();
    noteDamagedCalls(report, loaded.providers == ProviderFileState::Loaded);
    loadSpending(report);
    loadVolumePlans(report);
    return report;
}

void AppCore::noteDamagedCalls(StartupReport &report, bool providersLoaded)
{
    // A provider table that was not loaded gives no range to check indexes against.
    const int providerCount = providersLoaded ? m_providers->Count : -1;
    const DamagedCalls inLog = damagedCalls(m_log->records, m_log->Count, providerCount);
    if (inLog.count > 0)
        report.damagedFiles.append({ m_files.path(DataFiles::kLogFile), inLog.count });
    const DataFiles::ArchiveState archive = m_files.loadLogArchive(m_archivedCalls);
    loadCallVolumes(report, archive == DataFiles::ArchiveState::Loaded || archive == DataFiles::ArchiveState::Missing);
    switch (archive) {
    case DataFiles::ArchiveState::Missing:
        break;
    case DataFiles::ArchiveState::Loaded: {
        const DamagedCalls inArchive = damagedCalls(m_archivedCalls.data(), int(m_archivedCalls.size()), providerCount);
        if (inArchive.count > 0)
            report.damagedFiles.append({ archivePath(), inArchive.count });
        break;
    }
    case DataFiles::ArchiveState::Damaged:
    case DataFiles::ArchiveState::Unreadable:
        report.damagedFiles.append({ archivePath(), -1 });
        break;
    }
}

namespace {

// The volumes `fileName` holds for `calls` calls, unknown where it cannot say;
// what went wrong is added to `problems`.
std::vector<CallVolume> readCallVolumes(const QString &path, std::size_t calls, QStringList &problems)
{
    constexpr qint64 kMaxBytes = callvolumefile::kHeaderBytes + (qint64(1) << 26) * callvolumefile::kRecordBytes;
    const QString name = QDir::toNativeSeparators(path);
    std::vector<CallVolume> volumes;
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        // Calls logged by a version that did not count bytes.
        if (calls > 0)
            problems << QStringLiteral("%1 is missing: the data volume of %2 calls is unknown.").arg(name).arg(calls);
    } else if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        problems << QStringLiteral("%1 cannot be read: the data volume of its calls is unknown.").arg(name);
    } else if (auto read = callvolumefile::parse(file.read(kMaxBytes + 1))) {
        volumes = std::move(*read);
        if (volumes.size() != calls)
            problems << QStringLiteral("%1 holds the data volume of %2 calls for %3 logged: calls without one read as "
                                       "unknown.")
                            .arg(name)
                            .arg(volumes.size())
                            .arg(calls);
    } else {
        problems << QStringLiteral("%1 is damaged: the data volume of its calls is unknown.").arg(name);
    }
    volumes.resize(calls);
    return volumes;
}

} // namespace

void AppCore::loadCallVolumes(StartupReport &report, bool archiveLoaded)
{
    std::fill(std::begin(m_volumes->records), std::end(m_volumes->records), CallVolume {});
    const std::size_t logCalls = std::size_t(std::clamp<std::int32_t>(m_log->Count, 0, kMaxLogRecords));
    const std::vector<CallVolume> inLog
        = readCallVolumes(m_files.path(callvolumefile::kLogFile), logCalls, report.callVolumeProblems);
    std::copy(inLog.begin(), inLog.end(), m_volumes->records);
    m_archiveVolumesHeld = !archiveLoaded;
    m_archiveVolumesDirty = false;
    m_archivedVolumes.clear();
    if (archiveLoaded)
        m_archivedVolumes = readCallVolumes(
            m_files.path(callvolumefile::kArchiveFile), m_archivedCalls.size(), report.callVolumeProblems);
    else
        m_archivedVolumes.resize(m_archivedCalls.size());
}

void AppCore::saveCallVolumes()
{
    const int count = std::clamp<std::int32_t>(m_log->Count, 0, kMaxLogRecords);
    noteSave(callvolumefile::kLogFile,
        writeFileAtomically(
            m_files.path(callvolumefile::kLogFile), callvolumefile::serialise(m_volumes->records, count)));
    if (!m_archiveVolumesDirty || m_archiveVolumesHeld || archivePending())
        return;
    // Every archived call's volume, as it was loaded and as calls were moved since.
    const auto written = writeFileAtomically(m_files.path(callvolumefile::kArchiveFile),
        callvolumefile::serialise(m_archivedVolumes.data(), qsizetype(m_archivedVolumes.size())));
    noteSave(callvolumefile::kArchiveFile, written);
    if (written)
        m_archiveVolumesDirty = false;
}

void AppCore::loadSpending(StartupReport &report)
{
    const QString path = QDir(folder()).filePath(spendingfile::kFileName);
    QFile file(path);
    m_spending = {};
    m_spendingFileHeld = false;
    // Only a plain file: a pipe or device would block or never end.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        m_writtenSpending = spendingfile::serialise(m_spending);
        return;
    }
    const QByteArray bytes = file.read(kMaxBudgetsCopyBytes + 1);
    spendingfile::ReadResult read = spendingfile::parse(bytes.left(kMaxBudgetsBytes));
    if (bytes.size() > kMaxBudgetsBytes)
        read.problems.prepend(QStringLiteral("The file is larger than any the program writes."));
    m_spending = read.plan;
    m_writtenSpending = spendingfile::serialise(m_spending);
    if (read.problems.isEmpty())
        return;
    report.budgetsProblems = read.problems;
    m_spendingFileHeld
        = !replaceDamagedFile(path, spendingfile::kDamagedCopy, bytes, m_writtenSpending, report.budgetsCopyError);
}

void AppCore::loadVolumePlans(StartupReport &report)
{
    const QString path = QDir(folder()).filePath(volumeplanfile::kFileName);
    QFile file(path);
    m_volumePlans = {};
    m_volumeFileHeld = false;
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        m_writtenVolumePlans = volumeplanfile::serialise(m_volumePlans);
        return;
    }
    const QByteArray bytes = file.read(kMaxBudgetsCopyBytes + 1);
    volumeplanfile::ReadResult read = volumeplanfile::parse(bytes.left(kMaxBudgetsBytes));
    if (bytes.size() > kMaxBudgetsBytes)
        read.problems.prepend(QStringLiteral("The file is larger than any the program writes."));
    m_volumePlans = read.plans;
    m_writtenVolumePlans = volumeplanfile::serialise(m_volumePlans);
    if (read.problems.isEmpty())
        return;
    report.volumeProblems = read.problems;
    m_volumeFileHeld
        = !replaceDamagedFile(path, volumeplanfile::kDamagedCopy, bytes, m_writtenVolumePlans, report.volumeCopyError);
}

bool AppCore::replaceDamagedFile(
    const QString &path, const QString &copyName, const QByteArray &bytes, QByteArray &written, QString &copyError)
{
    // The damaged file is kept whole before it is replaced, so nothing the
    // user wrote into it is lost; without the copy it stays as it was.
    if (bytes.size() > kMaxBudgetsCopyBytes) {
        copyError = QStringLiteral("the file is too large to copy");
        return false;
    }
    if (const auto copied = writeFileAtomically(QDir(folder()).filePath(copyName), bytes); !copied) {
        copyError = copied.error().reason;
        return false;
    }
    // Replaced at once, so the damage is told once; failing that, the next save tries again.
    if (!writeFileAtomically(path, written))
        written.clear();
    return true;
}

AppCore::SettingsImage AppCore::settingsImage() const
{
    return { m_settings, m_log->Count, m_tariffs->Count, m_tariffs->LastTariffIdNumber };
}

QByteArrayView AppCore::providersImage() const
{
    return { reinterpret_cast<const char *>(m_providers.get()), kProvidersFileSize };
}

QByteArrayView AppCore::logImage() const { return { reinterpret_cast<const char *>(m_log->records), kLogFileSize }; }

QByteArrayView AppCore::tariffsImage() const
{
    return { reinterpret_cast<const char *>(m_tariffs->records), kTariffsFileSize };
}

void AppCore::rememberWritten()
{
    m_writtenProviders = providersImage().toByteArray();
    m_writtenLog = logImage().toByteArray();
    m_writtenTariffs = tariffsImage().toByteArray();
    m_writtenLogCount = m_log->Count;
    m_writtenTariffCount = m_tariffs->Count;
    m_writtenLastTariffId = m_tariffs->LastTariffIdNumber;
    m_writtenSettings = settingsImage();
    m_committedTariffs = m_writtenTariffs;
    m_uncommittedCalls.clear();
    m_logOnDiskHoldsCalls = false;
}

AppCore::SettingsImage AppCore::settingsImageToWrite() const
{
    return { m_settings, m_writtenLogCount, m_writtenTariffCount, m_writtenLastTariffId };
}

// A deleted last tariff leaves its bytes behind the count: the count tells too.
bool AppCore::tariffsChangedSinceWritten() const
{
    return tariffsImageToWrite() != m_writtenTariffs || m_tariffs->Count != m_writtenTariffCount
        || m_tariffs->LastTariffIdNumber != m_writtenLastTariffId;
}

QByteArray AppCore::tariffsImageToWrite() const
{
    QByteArray image = tariffsImage().toByteArray();
    if (m_logOnDiskHoldsCalls)
        return image;
    auto *records = reinterpret_cast<Tariff *>(image.data());
    const int count = std::min<int>(m_tariffs->Count, kMaxTariffs);
    for (const LoggedCall &call : m_uncommittedCalls) {
        if (call.tariffId == 0)
            continue;
        for (int i = 0; i < count; ++i) {
            Tariff &tariff = records[i];
            if (tariff.IdNumber != call.tariffId)
                continue;
            // The totals wrap as the call's end added them, so this takes it back exactly.
            tariff.CallCount = std::uint16_t(tariff.CallCount - 1);
            tariff.TotalSeconds -= call.record.DurationSeconds;
            tariff.TotalCost = addMoney(tariff.TotalCost, -call.record.Cost);
            break;
        }
    }
    return image;
}

void AppCore::noteLoggedCall(const CallRecord &record, std::uint32_t tariffId)
{
    noteLogChanged();
    m_uncommittedCalls.append({ record, tariffId });
    m_logOnDiskHoldsCalls = false;
}

void AppCore::dropArchivedTwice()
{
    constexpr qint64 kRecord = sizeof(CallRecord);
    if (m_log->Count != kMaxLogRecords)
        return;
    QFile archive(archivePath());
    const qint64 size = archive.size();
    if (size % kRecord != 0 || size < kArchiveBatchRecords * kRecord || !archive.open(QIODevice::ReadOnly))
        return;
    const QByteArrayView log = logImage();
    // The longest run of whole batches the archive ends with and the log begins with.
    qint64 twice = 0;
    for (qint64 batch = kArchiveBatchRecords * kRecord; batch <= size && batch <= log.size();
         batch += kArchiveBatchRecords * kRecord) {
        if (archive.seek(size - batch) && archive.read(batch) == log.first(batch))
            twice = batch;
    }
    archive.close();
    if (twice > 0)
        noteSave(kLogArchiveFile, truncateFile(archivePath(), size - twice));
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
    const auto result = m_files.saveAppData(*m_providers);
    if (result)
        m_writtenProviders = providersImage().toByteArray();
    noteSave(DataFiles::kProvidersFile, result);
}

CallVolume AppCore::callVolume(int index) const
{
    return index >= 0 && index < m_log->Count && index < kMaxLogRecords ? m_volumes->records[index] : CallVolume {};
}

void AppCore::archiveLogRecords(const QByteArray &records, std::span<const CallVolume> volumes)
{
    noteLogChanged();
    m_pendingArchive += records;
    const std::size_t moved = std::size_t(records.size()) / sizeof(CallRecord);
    for (std::size_t i = 0; i < moved; ++i) {
        const CallVolume volume = i < volumes.size() ? volumes[i] : CallVolume {};
        m_archivedVolumes.push_back(volume);
    }
    m_archiveVolumesDirty = true;
    const std::size_t before = m_archivedCalls.size();
    m_archivedCalls.resize(before + moved);
    std::memcpy(static_cast<void *>(m_archivedCalls.data() + before), records.constData(), moved * sizeof(CallRecord));
}

QString AppCore::archivePath() const { return m_files.path(kLogArchiveFile); }

bool AppCore::saveLogArchive()
{
    const QString path = archivePath();
    QByteArray bytes;
    QFile existing(path);
    if (existing.exists()) {
        // Never replace an archive that cannot be read: its calls would be lost.
        if (!existing.open(QIODevice::ReadOnly)) {
            noteSave(kLogArchiveFile, std::unexpected(FileError { path, existing.errorString() }));
            return false;
        }
        bytes = existing.readAll();
        if (existing.error() != QFileDevice::NoError) {
            noteSave(kLogArchiveFile, std::unexpected(FileError { path, existing.errorString() }));
            return false;
        }
    }
    const qint64 before = bytes.size();
    const auto result = writeFileAtomically(path, bytes + m_pendingArchive);
    noteSave(kLogArchiveFile, result);
    if (!result)
        return false;
    // The archived calls leave the log only with Log.data: until it is
    // written they are still in the old one, and the archive must not hold
    // them twice.
    const auto log = m_files.saveLogData(*m_log);
    if (!log) {
        noteSave(kLogArchiveFile, truncateFile(path, before));
        noteSave(DataFiles::kLogFile, log);
        return false;
    }
    m_pendingArchive.clear();
    noteSave(DataFiles::kLogFile, log);
    return true;
}

void AppCore::SaveLogData()
{
    // Whatever changed the log is saved now, written or not.
    noteLogChanged();
    bool written = false;
    if (!m_pendingArchive.isEmpty()) {
        written = saveLogArchive();
    } else {
        const auto result = m_files.saveLogData(*m_log);
        noteSave(DataFiles::kLogFile, result);
        written = result.has_value();
    }
    if (!written)
        return;
    m_writtenLog = logImage().toByteArray();
    m_writtenLogCount = m_log->Count;
    m_logOnDiskHoldsCalls = true;
    // After Log.data: a failure here costs no call, only bytes read as unknown.
    saveCallVolumes();
}

bool AppCore::writeTariffs()
{
    const QByteArray image = tariffsImageToWrite();
    const auto result = writeFileAtomically(m_files.path(DataFiles::kTariffsFile), image);
    noteSave(DataFiles::kTariffsFile, result);
    if (!result)
        return false;
    m_writtenTariffs = image;
    m_writtenTariffCount = m_tariffs->Count;
    m_writtenLastTariffId = m_tariffs->LastTariffIdNumber;
    return true;
}

void AppCore::SaveTarifData() { writeTariffs(); }

bool AppCore::writeSettings()
{
    // The registration's outcome is deliberately not reported: without rights
    // to register, the user still needs the settings written and the exit to work.
    (void)m_services.startup.apply(
        m_settings.RunAtStartup, QDir::toNativeSeparators(m_folders.programPath).toStdString());
    const SettingsImage image = settingsImageToWrite();
    const auto result = m_settingsFile.save(image.settings, image.logRecords, image.tariffRecords, image.lastTariffId);
    noteSave(SettingsFile::kFileName, result);
    if (result) {
        m_writtenSettings = image;
        m_committedTariffs = m_writtenTariffs;
        if (m_logOnDiskHoldsCalls)
            m_uncommittedCalls.clear();
        return true;
    }
    // The settings on disk still count the tariffs they counted: the tariff
    // file goes back to what they describe.
    if (m_writtenTariffs != m_committedTariffs
        && writeFileAtomically(m_files.path(DataFiles::kTariffsFile), m_committedTariffs)) {
        m_writtenTariffs = m_committedTariffs;
        m_writtenTariffCount = std::uint16_t(m_writtenSettings.tariffRecords);
        m_writtenLastTariffId = m_writtenSettings.lastTariffId;
    }
    return false;
}

void AppCore::SaveSettings()
{
    writeSettings();
    SaveSpending();
    SaveVolumePlans();
}

void AppCore::SaveVolumePlans()
{
    const QString path = QDir(folder()).filePath(volumeplanfile::kFileName);
    if (m_volumeFileHeld)
        return;
    const QByteArray bytes = volumeplanfile::serialise(m_volumePlans);
    if (bytes.isEmpty() && !QFile::exists(path))
        return;
    const auto result = writeFileAtomically(path, bytes);
    if (result)
        m_writtenVolumePlans = bytes;
    noteSave(volumeplanfile::kFileName, result);
}

void AppCore::SaveSpending()
{
    const QString path = QDir(folder()).filePath(spendingfile::kFileName);
    // A damaged file that could not be copied is the user's only record of it.
    if (m_spendingFileHeld)
        return;
    // A user who never set a budget gets no file: saving the account dialog
    // leaves an empty budget behind for every provider it showed.
    const bool anyBudget
        = std::any_of(m_spending.budgets.cbegin(), m_spending.budgets.cend(), [](const ProviderBudget &budget) {
              return budget.money != 0 || budget.hours || budget.autoHangUp || budget.warnedLevels != 0;
          });
    if (!anyBudget && m_spending.hangUpMarginSeconds == SpendingPlan::kDefaultHangUpMargin && !QFile::exists(path))
        return;
    const QByteArray bytes = spendingfile::serialise(m_spending);
    const auto result = writeFileAtomically(path, bytes);
    if (result)
        m_writtenSpending = bytes;
    noteSave(spendingfile::kFileName, result);
}

void AppCore::saveEverything()
{
    SaveAppData();
    SaveLogData();
    SaveTarifData();
    SaveSettings();
}

void AppCore::saveChanges()
{
    if (providersImage() != m_writtenProviders)
        SaveAppData();
    // Calls waiting for the archive are a change of the log too.
    if (logImage() != m_writtenLog || !m_pendingArchive.isEmpty())
        SaveLogData();
    if (tariffsChangedSinceWritten())
        SaveTarifData();
    if (!(settingsImageToWrite() == m_writtenSettings))
        SaveSettings();
    else {
        if (spendingfile::serialise(m_spending) != m_writtenSpending)
            SaveSpending();
        if (volumeplanfile::serialise(m_volumePlans) != m_writtenVolumePlans)
            SaveVolumePlans();
    }
}

QList<FileError> AppCore::saveForExit()
{
    QList<FileError> failures;
    auto handler = std::exchange(m_onSaveFailure, [&failures](const FileError &error) { failures.append(error); });
    // Each failure is wanted now, even one already reported while running.
    m_failingFiles.clear();
    saveEverything();
    m_onSaveFailure = std::move(handler);
    return failures;
}

UnsavedWork AppCore::unsavedWork() const
{
    UnsavedWork work;
    if (!m_logOnDiskHoldsCalls || !(settingsImageToWrite() == m_writtenSettings))
        for (const LoggedCall &call : m_uncommittedCalls)
            work.calls.append(call.record);
    work.log = (logImage() != m_writtenLog || !m_pendingArchive.isEmpty()) && work.calls.isEmpty();
    work.tariffs = tariffsChangedSinceWritten();
    work.providers = providersImage() != m_writtenProviders;
    work.settings = !(m_settings == m_writtenSettings.settings);
    work.budgets
        = m_failingFiles.contains(spendingfile::kFileName) || m_failingFiles.contains(volumeplanfile::kFileName);
    return work;
}

void AppCore::PlayAppSound(AppSound sound)
{
    if (!m_settings.PlayApplicationSounds)
        return;
    const QString name = sound == AppSound::Connected ? QStringLiteral("connected.wav")
        : sound == AppSound::Warning                  ? QStringLiteral("warning.wav")
                                                      : QStringLiteral("welcome.wav");
    m_services.sound.play(m_folders.find(QStringLiteral("sounds/default/") + name, isWaveFile));
}
