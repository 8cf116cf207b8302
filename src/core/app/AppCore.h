#pragma once

#include "core/datafolder/ProgramFolders.h"
#include "core/services/Clock.h"
#include "core/services/DialUpService.h"
#include "core/services/SoundPlayer.h"
#include "core/services/StartupRegistration.h"
#include "core/store/AtomicFile.h"
#include "core/store/CallVolume.h"
#include "core/store/CurrentCall.h"
#include "core/store/DataFiles.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "core/store/SettingsFile.h"
#include "core/store/SpendingPlan.h"
#include "core/store/Tariff.h"
#include "core/store/VolumePlan.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

struct AppServices {
    Clock &clock;
    SoundPlayer &sound;
    StartupRegistration &startup;
    dialup::DialUpService &dialUp;
};

struct StartupReport {
    bool invalidProviderFile = false; // it was copied to MyInvalidFile.old
    // Calls whose bytes are impossible: kept in their file as they are, but
    // never shown or summed. `records` is -1 when the whole file was refused.
    struct DamagedFile {
        QString path;
        int records = 0;
    };
    QList<DamagedFile> damagedFiles;
    // What was wrong with budgets.data; the file was kept as budgets.data.old
    // (unless `budgetsCopyError` says why not) and rewritten with what could be read.
    QStringList budgetsProblems;
    QString budgetsCopyError;
    // The same for volume.data, kept as volume.data.old.
    QStringList volumeProblems;
    QString volumeCopyError;
    // What was wrong with the files of the calls' bytes: the calls are all
    // kept, only their bytes read as unknown where the file could not say.
    QStringList callVolumeProblems;
};

// What the files lack of what is in memory: what ending the program now would lose.
struct UnsavedWork {
    QList<CallRecord> calls; // ended calls Log.data does not hold, oldest first
    bool log = false; // other changes to the call log (edits, deletions)
    bool tariffs = false;
    bool providers = false;
    bool settings = false;
    bool budgets = false;
    bool any() const { return !calls.isEmpty() || log || tariffs || providers || settings || budgets; }
};

enum class AppSound {
    Connected = 1, // a call begins
    Welcome = 3, // the main window is shown
    Warning = 4, // a budget warning
};

// What the main window owns for the life of the process: the three tables,
// the settings and the program's files. Windows work on these in memory;
// only this object writes files. It needs no window, so tests drive it directly.
class AppCore {
public:
    // `programPath` is the executable's full path; its folder holds every file.
    AppCore(const QString &programPath, AppServices services);
    AppCore(ProgramFolders folders, AppServices services);

    ProviderTable &providers() { return *m_providers; }
    CallLogTable &log() { return *m_log; }
    TariffTable &tariffs() { return *m_tariffs; }
    Settings &settings() { return m_settings; }
    const ProviderTable &providers() const { return *m_providers; }
    const CallLogTable &log() const { return *m_log; }
    const TariffTable &tariffs() const { return *m_tariffs; }
    const Settings &settings() const { return m_settings; }
    // Bytes in and out of every log slot, in step with log(): whatever moves,
    // marks or rewrites a slot of the log does the same here.
    CallVolumeTable &volumes() { return *m_volumes; }
    const CallVolumeTable &volumes() const { return *m_volumes; }
    // The volume of log slot `index`; unknown outside the log.
    CallVolume callVolume(int index) const;
    // Grows whenever the log, its volumes or the archive may have changed:
    // loading, a logged call, calls archived, every write of Log.data (windows
    // that edit the log save it at once) and noteLogChanged(). What is counted
    // from the log every second is counted again only when this moved.
    std::uint64_t logChanges() const { return m_logChanges; }
    // For a change to the log in memory that is not saved at once.
    void noteLogChanged() { ++m_logChanges; }
    Clock &clock() { return m_services.clock; }
    // The call being costed, or the last one's leftovers while idle.
    CurrentCall &currentCall() { return m_call; }
    const CurrentCall &currentCall() const { return m_call; }
    // Where every file is written.
    const QString &folder() const { return m_folders.dataFolder; }
    // Where the skins, sounds and help are looked for.
    const ProgramFolders &folders() const { return m_folders; }
    // Budgets and the warnings already given, from budgets.data.
    SpendingPlan &spending() { return m_spending; }
    const SpendingPlan &spending() const { return m_spending; }
    // Data plans and the allowance warnings already given, from volume.data.
    VolumePlans &volumePlans() { return m_volumePlans; }
    const VolumePlans &volumePlans() const { return m_volumePlans; }

    // Blank tables, then Providers.data, Log.data, Tariffs.data and settings.data.
    StartupReport loadAll();

    // The currency text in force: the user's or the system's symbol and one blank.
    const QString &currencyText() const { return m_currencyText; }
    void setCurrencyText(const QString &text) { m_currencyText = text; }
    const QString &systemCurrency() const { return m_systemCurrency; }

    // Each reports a failed write once (see setSaveFailureHandler) and keeps
    // the data in memory for the next save.
    //
    // The files agree with each other whatever fails: calls waiting for the
    // archive go to it only together with Log.data; Tariffs.data counts no
    // call that Log.data lacks; settings.data's counts describe the log and
    // the tariffs as their files hold them; and when settings.data cannot be
    // written, Tariffs.data goes back to what that file's counts describe.
    void SaveAppData();
    // Also appends calls waiting for the archive to it first (see archiveLogRecords).
    void SaveLogData();
    void SaveTarifData();
    // Applies the start-up registration, then writes settings.data and
    // budgets.data; a failed registration never stops a file from being written.
    void SaveSettings();
    // A call the end of a call has just logged and added to the totals of
    // the tariff with `tariffId` (0: none): until Log.data holds it, the
    // tariffs are written without it.
    void noteLoggedCall(const CallRecord &record, std::uint32_t tariffId);
    // budgets.data alone: a warning given must stay given across a restart.
    // A damaged file that could not be kept as budgets.data.old is left alone.
    void SaveSpending();
    // volume.data alone, for the same reason; no file while no provider has a plan.
    void SaveVolumePlans();
    // The three data files, then the settings: the order of the end of a call.
    void saveEverything();
    // Only the files whose tables or settings in memory differ from what was
    // last loaded or written: for the end of a dialog that changed something.
    void saveChanges();
    // Every file as the program ends, in the order of saveEverything. Every
    // file that cannot be written is returned, none is reported to the
    // failure handler; calling it again tries them all again.
    [[nodiscard]] QList<FileError> saveForExit();
    // What the files lack now.
    [[nodiscard]] UnsavedWork unsavedWork() const;
    // A file the user asked for (an export, a report) where the user chose,
    // written whole or not at all; the caller reports a failure.
    [[nodiscard]] std::expected<void, FileError> writeUserFile(const QString &path, const QByteArray &bytes) const;

    void PlayAppSound(AppSound sound);

    // Calls taken out of a full log, 32-byte records oldest first. They are
    // appended to the archive beside the log at the next SaveLogData and stay
    // in memory until that write succeeds.
    // `volumes` holds the volume of each call, in step with `records`.
    void archiveLogRecords(const QByteArray &records, std::span<const CallVolume> volumes = {});
    QString archivePath() const;
    static inline const QString kLogArchiveFile = DataFiles::kLogArchiveFile;
    // Every call moved to the archive, oldest first: as loaded, then as moved
    // since (written or still waiting). Sums over all time add these to the log.
    std::span<const CallRecord> archivedCalls() const { return m_archivedCalls; }
    // The volume of each of archivedCalls(), in the same order.
    std::span<const CallVolume> archivedVolumes() const { return m_archivedVolumes; }
    // Calls taken out of the log that the archive has not taken yet.
    bool archivePending() const { return !m_pendingArchive.isEmpty(); }
    // Calls a full log gives to the archive at a time.
    static constexpr int kArchiveBatchRecords = 1024;

    // Called when a file that could be written before cannot be written now.
    void setSaveFailureHandler(std::function<void(const FileError &)> handler) { m_onSaveFailure = std::move(handler); }

private:
    struct LoggedCall {
        CallRecord record;
        std::uint32_t tariffId = 0;
    };

    void noteSave(const QString &fileName, const std::expected<void, FileError> &result);
    bool saveLogArchive();
    void loadCallVolumes(StartupReport &report, bool archiveLoaded);
    void saveCallVolumes();
    bool writeTariffs();
    bool writeSettings();
    void noteDamagedCalls(StartupReport &report, bool providersLoaded);
    // A full log whose oldest calls the archive already ends with was not
    // written after they were archived: the archive gives them back.
    void dropArchivedTwice();
    void loadSpending(StartupReport &report);
    void loadVolumePlans(StartupReport &report);
    // Keeps a damaged file whole as `copyName`, then replaces it with
    // `written`, what could be read of it (cleared when that write fails).
    // False when it could not be kept, `copyError` says why: the file must
    // then be left alone.
    bool replaceDamagedFile(
        const QString &path, const QString &copyName, const QByteArray &bytes, QByteArray &written, QString &copyError);

    // What settings.data holds besides the settings themselves.
    struct SettingsImage {
        Settings settings;
        std::int32_t logRecords = 0;
        std::uint16_t tariffRecords = 0;
        std::uint32_t lastTariffId = 0;
        bool operator==(const SettingsImage &) const = default;
    };
    SettingsImage settingsImage() const;
    // settings.data as it may be written now: its counts those of the files.
    SettingsImage settingsImageToWrite() const;
    bool tariffsChangedSinceWritten() const;
    QByteArrayView providersImage() const;
    QByteArrayView logImage() const;
    QByteArrayView tariffsImage() const;
    // Tariffs.data as it may be written now: without the calls Log.data lacks.
    QByteArray tariffsImageToWrite() const;
    void rememberWritten();

    ProgramFolders m_folders;
    AppServices m_services;
    DataFiles m_files;
    SettingsFile m_settingsFile;
    std::unique_ptr<ProviderTable> m_providers;
    std::unique_ptr<CallLogTable> m_log;
    std::unique_ptr<TariffTable> m_tariffs;
    std::unique_ptr<CallVolumeTable> m_volumes;
    Settings m_settings;
    SpendingPlan m_spending;
    CurrentCall m_call;
    QByteArray m_pendingArchive;
    std::vector<CallRecord> m_archivedCalls;
    std::vector<CallVolume> m_archivedVolumes;
    std::uint64_t m_logChanges = 0;
    bool m_archiveVolumesDirty = false; // archivedVolumes() holds more than its file
    bool m_archiveVolumesHeld = false; // the archive could not be read: its companion is left alone
    QString m_systemCurrency;
    QString m_currencyText;
    QSet<QString> m_failingFiles;
    // The files as last loaded or written.
    QByteArray m_writtenProviders;
    QByteArray m_writtenLog;
    QByteArray m_writtenTariffs;
    SettingsImage m_writtenSettings;
    // The counts that describe Log.data and Tariffs.data on disk.
    std::int32_t m_writtenLogCount = 0;
    std::uint16_t m_writtenTariffCount = 0;
    std::uint32_t m_writtenLastTariffId = 0;
    // Calls ended since settings.data last counted them with the log.
    QList<LoggedCall> m_uncommittedCalls;
    QByteArray m_committedTariffs; // Tariffs.data as settings.data on disk counts it
    bool m_logOnDiskHoldsCalls = false; // Log.data holds m_uncommittedCalls
    QByteArray m_writtenSpending;
    bool m_spendingFileHeld = false; // budgets.data is damaged and could not be copied: never overwritten
    VolumePlans m_volumePlans;
    QByteArray m_writtenVolumePlans;
    bool m_volumeFileHeld = false; // as m_spendingFileHeld, for volume.data
    std::function<void(const FileError &)> m_onSaveFailure;
};
