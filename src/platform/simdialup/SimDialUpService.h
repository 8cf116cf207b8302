#pragma once

#include "core/services/Clock.h"
#include "core/services/DialUpService.h"
#include "platform/simdialup/SimEntry.h"
#include "platform/simdialup/SimPhonebook.h"
#include "platform/simdialup/SimStateFile.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <optional>

// A dial-up service of our own that behaves like the platform's: a phonebook
// file, dials that walk through the usual states on a timer, and connections
// shared with every other process that uses the same program folder (the
// dialler tool, a second copy of the program).
class SimDialUpService final : public QObject, public dialup::DialUpService {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SimDialUpService)

public:
    using EntryEditor = SimEntryEditor;

    struct Options {
        Clock *clock = nullptr; // its monotonic time ages the lines; the system's when null
        qint64 ownerPid = 0; // the id recorded as the dialler; 0 for this process
        // Without one (a program with no windows) entries are neither created
        // nor changed: the request ends as cancelled.
        EntryEditor editor;
    };

    explicit SimDialUpService(const QString &programFolder);
    SimDialUpService(const QString &programFolder, Options options);
    ~SimDialUpService() override;

    std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> enumConnections() override;
    std::expected<dialup::ConnectionStatus, dialup::ErrorCode> connectionStatus(
        dialup::ConnectionHandle handle) override;
    std::expected<std::vector<std::string>, dialup::ErrorCode> enumEntries() override;
    std::expected<dialup::DialParams, dialup::ErrorCode> entryDialParams(const std::string &entry) override;
    std::expected<dialup::ConnectionHandle, dialup::ErrorCode> dial(const std::string &entry,
        const std::string &userName, const std::string &password, dialup::DialNotifier notifier) override;
    std::expected<void, dialup::ErrorCode> hangUp(dialup::ConnectionHandle handle) override;
    std::expected<dialup::ByteCounters, dialup::ErrorCode> connectionBytes(dialup::ConnectionHandle handle) override;
    std::string errorText(dialup::ErrorCode code) override;
    std::expected<void, dialup::ErrorCode> createEntry(dialup::NativeWindow owner) override;
    std::expected<void, dialup::ErrorCode> editEntry(dialup::NativeWindow owner, const std::string &entry) override;

    // Tells the notifiers of this process's dials what has changed; the
    // timer calls it, tests may call it after moving their clock.
    void pollProgress();

    static constexpr int kPollMilliseconds = 100;

private:
    struct Watch {
        SimConnection plan;
        dialup::DialNotifier notifier;
        std::size_t reported = 0;
        bool finished = false;
    };

    qint64 nowMs() const;
    // The connections still listed now; removes from the file those that are
    // over or whose dialling process died before they connected.
    [[nodiscard]] std::expected<std::vector<SimConnection>, dialup::ErrorCode> liveConnections();
    bool isOver(const SimConnection &connection, qint64 now) const;
    std::vector<dialup::ConnectionStatus> reportsFor(
        const Watch &watch, const std::vector<SimConnection> &live, qint64 now) const;

    SimPhonebook m_phonebook;
    SimStateFile m_stateFile;
    std::unique_ptr<Clock> m_ownClock;
    Clock &m_clock;
    qint64 m_ownerPid;
    EntryEditor m_editor;
    std::map<dialup::ConnectionHandle, Watch> m_watches;
    QTimer m_timer;
};
