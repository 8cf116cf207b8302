#pragma once

#include "core/services/DialUpService.h"
#include "platform/networkmanager/NmStates.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

class QDBusMessage;
class QDBusServiceWatcher;

// The dial-up service on a Linux desktop: NetworkManager over D-Bus. Its
// saved connections of dial-up kinds are the phonebook; its active ones are
// the connections, whoever activated them. Everything the tick asks for is
// answered from a cache that asynchronous calls and NetworkManager's signals
// keep current, so a slow or silent NetworkManager never holds up the tick.
class NmDialUpService final : public QObject, public dialup::DialUpService {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(NmDialUpService)

public:
    static constexpr int kDefaultTimeoutMs = 3000;

    // `timeoutMs` bounds every call to NetworkManager.
    explicit NmDialUpService(QDBusConnection bus, int timeoutMs = kDefaultTimeoutMs);
    ~NmDialUpService() override;

    // Whether NetworkManager answers on `bus` within `timeoutMs`; used once at
    // start-up to choose the backend.
    static bool answersOn(const QDBusConnection &bus, int timeoutMs);

    std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> enumConnections() override;
    std::expected<dialup::ConnectionStatus, dialup::ErrorCode> connectionStatus(
        dialup::ConnectionHandle handle) override;
    std::expected<std::vector<std::string>, dialup::ErrorCode> enumEntries() override;
    std::expected<dialup::DialParams, dialup::ErrorCode> entryDialParams(const std::string &entry) override;
    std::expected<dialup::ConnectionHandle, dialup::ErrorCode> dial(const std::string &entry,
        const std::string &userName, const std::string &password, dialup::DialNotifier notifier) override;
    std::expected<void, dialup::ErrorCode> hangUp(dialup::ConnectionHandle handle) override;
    std::string errorText(dialup::ErrorCode code) override;
    std::expected<void, dialup::ErrorCode> createEntry(dialup::NativeWindow owner) override;
    std::expected<void, dialup::ErrorCode> editEntry(dialup::NativeWindow owner, const std::string &entry) override;

    // Runs the event loop until the first answers (entries and active
    // connections) are in, at most `timeoutMs`; true when they are.
    bool waitUntilReady(int timeoutMs);

Q_SIGNALS:
    void ready();

private Q_SLOTS:
    void onPropertiesChanged(const QDBusMessage &message);
    void onDeviceStateChanged(const QDBusMessage &message);
    void onActiveStateChanged(const QDBusMessage &message);
    void onSettingsChanged(const QDBusMessage &message);

private:
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
        std::uint32_t reason = 0;
        bool loaded = false;
    };
    struct Watch {
        QString activePath; // empty until NetworkManager has answered the activation
        dialup::DialNotifier notifier;
        dialup::ConnectionStatus reported { ~0U, ~0U };
        bool cancelled = false; // hung up before NetworkManager answered the activation
    };

    QDBusMessage methodCall(const QString &path, const QString &interface, const QString &method) const;
    // Sends `message` and hands the reply to `done` on this thread, unless this
    // object is gone by then.
    template <typename Done> void callAsync(const QDBusMessage &message, Done done);

    void serviceAppeared();
    void serviceVanished();
    void reloadAll();
    void loadEntries();
    void loadEntry(const QString &path);
    void refreshManager();
    void setActivePaths(const QStringList &paths);
    void loadActive(const QString &path);
    void loadDevice(const QString &path);
    void applyActiveProperties(Active &active, const QVariantMap &properties);
    void deactivate(const QString &activePath);
    void notify(dialup::ConnectionHandle handle, dialup::ConnectionStatus status);
    bool isReady() const;
    void checkReady();
    void reportProgress();

    const Entry *entryByPath(const QString &path) const;
    const Entry *entryByName(const std::string &name) const;
    Active *activeByPath(const QString &path);
    std::optional<nm::DeviceState> firstDevice(const Active &active) const;
    dialup::ConnectionHandle handleFor(const QString &activePath);
    QString pathOfHandle(dialup::ConnectionHandle handle) const;
    dialup::ErrorCode refusal(const QDBusMessage &reply);

    QDBusConnection m_bus;
    int m_timeoutMs;
    QDBusServiceWatcher *m_watcher;
    bool m_running = false;
    bool m_managerPending = false;
    bool m_entriesLoaded = false;
    bool m_managerLoaded = false;
    bool m_mayControl = true;
    std::uint64_t m_entriesRequest = 0;
    std::uint64_t m_generation = 0; // bumped when NetworkManager goes, so late answers are dropped
    std::vector<Entry> m_entries; // in NetworkManager's order
    std::vector<Active> m_active; // in NetworkManager's order
    std::map<QString, nm::DeviceState> m_devices;
    std::map<QString, dialup::ConnectionHandle> m_handles;
    dialup::ConnectionHandle m_nextHandle = 1;
    std::map<dialup::ConnectionHandle, Watch> m_watches;
    QString m_lastRefusal;
    std::vector<QDBusPendingCall> m_hangUps; // deactivations not yet answered
};
