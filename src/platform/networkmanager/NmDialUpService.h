#pragma once

#include "core/services/DialUpService.h"
#include "platform/networkmanager/NmStates.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QDBusMessage;
class QDBusServiceWatcher;

// The dial-up service on a Linux desktop: NetworkManager over D-Bus. Its
// saved connections of dial-up kinds are the phonebook; its active ones are
// the connections, whoever activated them. Everything the tick asks for is
// answered from a cache, so a slow or silent NetworkManager never holds up
// the tick. The cache changes only by whole reads: a signal merely asks for
// one, so a stray or contradictory message cannot end or split a call. Reads
// that fail are tried again, with growing pauses, for as long as it takes.
class NmDialUpService final : public QObject, public dialup::DialUpService {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NmDialUpService)

public:
    static constexpr int kDefaultTimeoutMs = 3000;
    // A line still up on the same device when NetworkManager is back within
    // this long is the same line.
    static constexpr int kRestartGraceMs = 60000;

    // `timeoutMs` bounds every read and the wait for a dial's first answer.
    explicit NmDialUpService(QDBusConnection bus, int timeoutMs = kDefaultTimeoutMs);
    ~NmDialUpService() override;

    // Whether NetworkManager's name is owned on `bus`; used once at start-up
    // to choose the backend.
    static bool answersOn(const QDBusConnection &bus, int timeoutMs);

    std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> enumConnections() override;
    std::expected<dialup::ConnectionStatus, dialup::ErrorCode> connectionStatus(
        dialup::ConnectionHandle handle) override;
    std::expected<std::vector<std::string>, dialup::ErrorCode> enumEntries() override;
    std::expected<dialup::DialParams, dialup::ErrorCode> entryDialParams(const std::string &entry) override;
    std::expected<dialup::ConnectionHandle, dialup::ErrorCode> dial(const std::string &entry,
        const std::string &userName, const std::string &password, dialup::DialNotifier notifier) override;
    std::expected<void, dialup::ErrorCode> hangUp(dialup::ConnectionHandle handle) override;
    // The counters of the IP interface of the connection's first device.
    std::expected<dialup::ByteCounters, dialup::ErrorCode> connectionBytes(dialup::ConnectionHandle handle) override;
    void setHangUpRefusalHandler(dialup::HangUpRefusal handler) override { m_onRefusal = std::move(handler); }
    std::string errorText(dialup::ErrorCode code) override;
    std::expected<void, dialup::ErrorCode> createEntry(dialup::NativeWindow owner) override;
    std::expected<void, dialup::ErrorCode> editEntry(dialup::NativeWindow owner, const std::string &entry) override;

    // Runs the event loop until the first whole read is in, at most
    // `timeoutMs`; true when it is.
    bool waitUntilReady(int timeoutMs);

Q_SIGNALS:
    void ready();

private Q_SLOTS:
    void onStateSignal(const QDBusMessage &message);
    void onSettingsSignal(const QDBusMessage &message);

private:
    enum class Presence { Absent, Starting, Present };

    struct Entry {
        QString path;
        QString id;
        QString uuid;
    };
    struct Active {
        QString path;
        QString id;
        QString connection;
        QStringList devices;
        std::uint32_t state = 0;
    };
    struct Device {
        std::uint32_t state = 0;
        std::uint32_t reason = 0;
        QString interface;
        QString ipInterface; // where the traffic is counted: ppp0 for a modem on ttyUSB0
    };
    struct Watch {
        QString activePath; // empty until NetworkManager has answered the activation
        dialup::DialNotifier notifier;
        dialup::ConnectionStatus reported { ~0U, ~0U };
        bool cancelled = false; // hung up before NetworkManager answered the activation
    };
    // A line that was up when NetworkManager left, waiting to be found again.
    struct Departed {
        dialup::ConnectionHandle handle = 0;
        QString id;
        QString interface;
    };
    // One kind of whole read, with its retries.
    struct Reader {
        QTimer retry;
        int failures = 0;
        bool inFlight = false;
        bool again = false;
    };

    template <typename Done> void callAsync(const QDBusMessage &message, Done done, int timeoutMs = -1);

    void ownerChanged(bool owned);
    void request(Reader &reader);
    void start(Reader &reader);
    void finished(Reader &reader, const QDBusMessage *failure);

    void readEntries();
    void readState();
    void readDevices(std::vector<Active> actives);
    void commitState(std::vector<Active> actives, std::map<QString, Device> devices);
    // Once both reads are in: lines found again, ended dials, progress.
    void settle();

    void notify(dialup::ConnectionHandle handle, dialup::ConnectionStatus status);
    void reportProgress();
    void deactivate(dialup::ConnectionHandle handle, const QString &activePath);
    std::optional<dialup::ErrorCode> unavailable() const;

    const Entry *entryByPath(const QString &path) const;
    const Entry *entryByName(const std::string &name) const;
    const Active *activeByPath(const QString &path) const;
    std::optional<nm::DeviceState> firstDevice(const Active &active) const;
    dialup::ConnectionStatus statusOf(const Active &active) const;
    dialup::ConnectionHandle handleFor(const Active &active);
    QString pathOfHandle(dialup::ConnectionHandle handle) const;
    dialup::ErrorCode refusal(const QDBusMessage &reply);

    QDBusConnection m_bus;
    int m_timeoutMs;
    QDBusServiceWatcher *m_watcher;
    Presence m_presence = Presence::Starting;
    bool m_entriesLoaded = false;
    bool m_stateLoaded = false;
    bool m_mayControl = true;
    std::uint64_t m_generation = 0; // bumped when the name changes hands, so late answers are dropped
    Reader m_entriesReader;
    Reader m_stateReader;
    QTimer m_callReread; // a whole read now and then while a line is up
    std::vector<Entry> m_entries; // in NetworkManager's order
    std::vector<Active> m_active; // in NetworkManager's order
    std::map<QString, Device> m_devices;
    std::map<QString, std::uint32_t> m_activeReasons; // from StateChanged, used once a read confirms the end
    std::map<QString, dialup::ConnectionHandle> m_handles; // by active path and connection
    dialup::ConnectionHandle m_nextHandle = 1;
    std::map<dialup::ConnectionHandle, Watch> m_watches;
    std::vector<Departed> m_departed;
    QElapsedTimer m_departedAt;
    QString m_lastRefusal;
    dialup::HangUpRefusal m_onRefusal;
    std::vector<QDBusPendingCall> m_hangUps; // deactivations not yet answered
};
