#include "platform/networkmanager/NmDialUpService.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
const QString kSettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
const QString kSettingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
const QString kConnectionInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
const QString kActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kNoObject = QStringLiteral("/");

// Complex values inside a variant arrive still marshalled.
QStringList objectPaths(const QVariant &value)
{
    QList<QDBusObjectPath> paths;
    if (value.canConvert<QDBusArgument>())
        value.value<QDBusArgument>() >> paths;
    else
        paths = value.value<QList<QDBusObjectPath>>();
    QStringList result;
    for (const QDBusObjectPath &path : std::as_const(paths))
        result.append(path.path());
    return result;
}

QString objectPath(const QVariant &value) { return value.value<QDBusObjectPath>().path(); }

QVariantMap propertyMap(const QVariant &value) { return qdbus_cast<QVariantMap>(value); }

nm::DeviceState stateReason(const QVariant &value)
{
    nm::DeviceState result;
    if (!value.canConvert<QDBusArgument>())
        return result;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginStructure();
    argument >> result.state >> result.reason;
    argument.endStructure();
    return result;
}

QDBusMessage getAll(const QString &path, const QString &interface)
{
    QDBusMessage message
        = QDBusMessage::createMethodCall(kService, path, kPropertiesInterface, QStringLiteral("GetAll"));
    message << interface;
    return message;
}

} // namespace

NmDialUpService::NmDialUpService(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus))
    , m_timeoutMs(timeoutMs)
    , m_watcher(new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, &NmDialUpService::serviceAppeared);
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, &NmDialUpService::serviceVanished);
    const auto listen = [this](const QString &interface, const QString &name, const char *slot) {
        m_bus.connect(kService, QString(), interface, name, this, slot);
    };
    listen(kPropertiesInterface, QStringLiteral("PropertiesChanged"), SLOT(onPropertiesChanged(QDBusMessage)));
    listen(kDeviceInterface, QStringLiteral("StateChanged"), SLOT(onDeviceStateChanged(QDBusMessage)));
    listen(kActiveInterface, QStringLiteral("StateChanged"), SLOT(onActiveStateChanged(QDBusMessage)));
    listen(kSettingsInterface, QStringLiteral("NewConnection"), SLOT(onSettingsChanged(QDBusMessage)));
    listen(kSettingsInterface, QStringLiteral("ConnectionRemoved"), SLOT(onSettingsChanged(QDBusMessage)));
    listen(kConnectionInterface, QStringLiteral("Updated"), SLOT(onSettingsChanged(QDBusMessage)));
    reloadAll();
}

NmDialUpService::~NmDialUpService()
{
    // A hang-up must reach NetworkManager even when the program (or the
    // dialler tool) ends right after asking for it.
    for (QDBusPendingCall &call : m_hangUps)
        call.waitForFinished();
}

bool NmDialUpService::answersOn(const QDBusConnection &bus, int timeoutMs)
{
    if (!bus.isConnected())
        return false;
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("NameHasOwner"));
    message << kService;
    const QDBusMessage reply = bus.call(message, QDBus::Block, timeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && reply.arguments().constFirst().toBool();
}

bool NmDialUpService::waitUntilReady(int timeoutMs)
{
    if (isReady())
        return true;
    QEventLoop loop;
    connect(this, &NmDialUpService::ready, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return isReady();
}

template <typename Done> void NmDialUpService::callAsync(const QDBusMessage &message, Done done)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, m_timeoutMs), this);
    const std::uint64_t generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, watcher, generation, done = std::move(done)]() mutable {
            watcher->deleteLater();
            // Answers from before NetworkManager went away describe nothing that still exists.
            if (generation == m_generation)
                done(watcher->reply());
        });
}

void NmDialUpService::serviceAppeared()
{
    ++m_generation;
    m_managerPending = false;
    reloadAll();
}

void NmDialUpService::serviceVanished()
{
    m_running = false;
    ++m_generation;
    m_managerPending = false;
    m_active.clear();
    m_devices.clear();
    m_handles.clear();
    // Every line it held is gone with it.
    auto watches = std::move(m_watches);
    m_watches.clear();
    for (auto &[handle, watch] : watches) {
        if (watch.activePath.isEmpty())
            watch.notifier(dialup::kOpenPort, nm::kErrorNotRunning);
        else
            watch.notifier(dialup::kDisconnected, 0);
    }
}

void NmDialUpService::reloadAll()
{
    loadEntries();
    refreshManager();
    callAsync(
        QDBusMessage::createMethodCall(kService, kManagerPath, kManagerInterface, QStringLiteral("GetPermissions")),
        [this](const QDBusMessage &reply) {
            if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
                return;
            const auto permissions = qdbus_cast<QMap<QString, QString>>(reply.arguments().constFirst());
            m_mayControl = permissions.value(QStringLiteral("org.freedesktop.NetworkManager.network-control"))
                != QLatin1String("no");
        });
}

void NmDialUpService::loadEntries()
{
    const std::uint64_t request = ++m_entriesRequest;
    callAsync(
        QDBusMessage::createMethodCall(kService, kSettingsPath, kSettingsInterface, QStringLiteral("ListConnections")),
        [this, request](const QDBusMessage &reply) {
            if (request != m_entriesRequest || reply.type() != QDBusMessage::ReplyMessage
                || reply.arguments().isEmpty())
                return;
            QList<QDBusObjectPath> listed;
            reply.arguments().constFirst().value<QDBusArgument>() >> listed;
            struct Batch {
                std::vector<std::optional<Entry>> entries;
                std::size_t remaining = 0;
            };
            auto batch = std::make_shared<Batch>();
            batch->entries.resize(std::size_t(listed.size()));
            batch->remaining = batch->entries.size();
            const auto finish = [this, batch] {
                m_entries.clear();
                for (auto &entry : batch->entries)
                    if (entry)
                        m_entries.push_back(std::move(*entry));
                m_entriesLoaded = true;
                checkReady();
            };
            if (batch->remaining == 0)
                finish();
            for (qsizetype i = 0; i < listed.size(); ++i) {
                const QString path = listed[i].path();
                callAsync(
                    QDBusMessage::createMethodCall(kService, path, kConnectionInterface, QStringLiteral("GetSettings")),
                    [this, request, batch, finish, path, i](const QDBusMessage &answer) {
                        if (request != m_entriesRequest)
                            return;
                        if (answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty()) {
                            const auto settings
                                = qdbus_cast<QMap<QString, QVariantMap>>(answer.arguments().constFirst());
                            const QVariantMap connection = settings.value(QStringLiteral("connection"));
                            if (nm::isDialUpEntry(settings))
                                batch->entries[std::size_t(i)]
                                    = Entry { path, connection.value(QStringLiteral("id")).toString(),
                                          connection.value(QStringLiteral("uuid")).toString() };
                        }
                        if (--batch->remaining == 0)
                            finish();
                    });
            }
        });
}

void NmDialUpService::refreshManager()
{
    if (m_managerPending)
        return;
    m_managerPending = true;
    callAsync(getAll(kManagerPath, kManagerInterface), [this](const QDBusMessage &reply) {
        m_managerPending = false;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            // No answer in time: keep what is known until it speaks again.
            if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
                m_running = false;
            return;
        }
        m_running = true;
        setActivePaths(
            objectPaths(propertyMap(reply.arguments().constFirst()).value(QStringLiteral("ActiveConnections"))));
        m_managerLoaded = true;
        checkReady();
    });
}

bool NmDialUpService::isReady() const
{
    return m_entriesLoaded && m_managerLoaded
        && std::all_of(m_active.begin(), m_active.end(), [](const Active &active) { return active.loaded; });
}

void NmDialUpService::checkReady()
{
    if (isReady())
        emit ready();
}

void NmDialUpService::setActivePaths(const QStringList &paths)
{
    std::vector<Active> next;
    for (const QString &path : paths) {
        if (Active *known = activeByPath(path)) {
            next.push_back(std::move(*known));
            continue;
        }
        next.push_back(Active { path, {}, {}, {}, 0, 0, false });
        loadActive(path);
    }
    m_active = std::move(next);
    for (auto it = m_handles.begin(); it != m_handles.end();)
        it = paths.contains(it->first) ? std::next(it) : m_handles.erase(it);
    // A dial whose connection is gone has ended, whoever ended it.
    std::vector<dialup::ConnectionHandle> ended;
    for (const auto &[handle, watch] : m_watches)
        if (!watch.activePath.isEmpty() && !paths.contains(watch.activePath))
            ended.push_back(handle);
    for (const dialup::ConnectionHandle handle : ended) {
        notify(handle, { dialup::kDisconnected, 0 });
        m_watches.erase(handle);
    }
}

void NmDialUpService::loadActive(const QString &path)
{
    callAsync(getAll(path, kActiveInterface), [this, path](const QDBusMessage &reply) {
        Active *active = activeByPath(path);
        if (!active)
            return;
        // One that cannot be read is most likely gone already; it stays
        // unlisted, having no saved connection.
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            applyActiveProperties(*active, propertyMap(reply.arguments().constFirst()));
        active->loaded = true;
        checkReady();
        reportProgress();
    });
}

void NmDialUpService::loadDevice(const QString &path)
{
    m_devices.emplace(path, nm::DeviceState {});
    callAsync(getAll(path, kDeviceInterface), [this, path](const QDBusMessage &reply) {
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return;
        const QVariantMap properties = propertyMap(reply.arguments().constFirst());
        m_devices[path] = { properties.value(QStringLiteral("State")).toUInt(),
            stateReason(properties.value(QStringLiteral("StateReason"))).reason };
        reportProgress();
    });
}

void NmDialUpService::applyActiveProperties(Active &active, const QVariantMap &properties)
{
    if (properties.contains(QStringLiteral("Id")))
        active.id = properties.value(QStringLiteral("Id")).toString();
    if (properties.contains(QStringLiteral("Connection")))
        active.connection = objectPath(properties.value(QStringLiteral("Connection")));
    if (properties.contains(QStringLiteral("State")))
        active.state = properties.value(QStringLiteral("State")).toUInt();
    if (properties.contains(QStringLiteral("Devices"))) {
        active.devices = objectPaths(properties.value(QStringLiteral("Devices")));
        for (const QString &device : std::as_const(active.devices))
            if (!m_devices.contains(device))
                loadDevice(device);
    }
}

void NmDialUpService::onPropertiesChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    const QString interface = arguments[0].toString();
    const QVariantMap changed = propertyMap(arguments[1]);
    const QString path = message.path();
    if (interface == kManagerInterface && path == kManagerPath) {
        if (changed.contains(QStringLiteral("ActiveConnections")))
            setActivePaths(objectPaths(changed.value(QStringLiteral("ActiveConnections"))));
    } else if (interface == kActiveInterface) {
        // States come from StateChanged alone, which carries the reason with
        // the state: a failure is never shown for a moment without its reason.
        if (Active *active = activeByPath(path)) {
            QVariantMap others = changed;
            others.remove(QStringLiteral("State"));
            applyActiveProperties(*active, others);
        }
    } else if (interface == kSettingsInterface && changed.contains(QStringLiteral("Connections"))) {
        loadEntries();
        return;
    }
    reportProgress();
}

void NmDialUpService::onDeviceStateChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 3)
        return;
    m_devices[message.path()] = { arguments[0].toUInt(), arguments[2].toUInt() };
    reportProgress();
}

void NmDialUpService::onActiveStateChanged(const QDBusMessage &message)
{
    const QList<QVariant> arguments = message.arguments();
    Active *active = activeByPath(message.path());
    if (!active || arguments.size() < 2)
        return;
    active->state = arguments[0].toUInt();
    active->reason = arguments[1].toUInt();
    reportProgress();
}

void NmDialUpService::onSettingsChanged(const QDBusMessage &) { loadEntries(); }

void NmDialUpService::notify(dialup::ConnectionHandle handle, dialup::ConnectionStatus status)
{
    const auto it = m_watches.find(handle);
    if (it == m_watches.end())
        return;
    it->second.reported = status;
    // The notifier may hang up, which changes the watches under us.
    const dialup::DialNotifier notifier = it->second.notifier;
    notifier(status.state, status.error);
}

void NmDialUpService::reportProgress()
{
    std::vector<dialup::ConnectionHandle> handles;
    for (const auto &[handle, watch] : m_watches)
        handles.push_back(handle);
    for (const dialup::ConnectionHandle handle : handles) {
        const auto it = m_watches.find(handle);
        if (it == m_watches.end() || it->second.activePath.isEmpty())
            continue;
        const Active *active = activeByPath(it->second.activePath);
        if (!active || !active->loaded)
            continue;
        const dialup::ConnectionStatus status
            = nm::connectionStatus(active->state, active->reason, firstDevice(*active));
        if (status.state != it->second.reported.state || status.error != it->second.reported.error)
            notify(handle, status);
    }
}

std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> NmDialUpService::enumConnections()
{
    // Answered from what is known now; the refresh lands for a later tick.
    if (m_running)
        refreshManager();
    std::vector<dialup::ActiveConnection> result;
    for (const Active &active : m_active) {
        // Only dial-up links are calls: an ordinary wired or Wi-Fi line costs nothing.
        const Entry *entry = active.loaded ? entryByPath(active.connection) : nullptr;
        if (entry)
            result.push_back({ handleFor(active.path), entry->id.toStdString() });
    }
    return result;
}

std::expected<dialup::ConnectionStatus, dialup::ErrorCode> NmDialUpService::connectionStatus(
    dialup::ConnectionHandle handle)
{
    Active *active = activeByPath(pathOfHandle(handle));
    if (!active)
        return std::unexpected(nm::kErrorNoSuchConnection);
    return nm::connectionStatus(active->state, active->reason, firstDevice(*active));
}

std::expected<std::vector<std::string>, dialup::ErrorCode> NmDialUpService::enumEntries()
{
    std::vector<std::string> names;
    for (const Entry &entry : m_entries)
        names.push_back(entry.id.toStdString());
    return names;
}

std::expected<dialup::DialParams, dialup::ErrorCode> NmDialUpService::entryDialParams(const std::string &entry)
{
    if (!m_running)
        return std::unexpected(nm::kErrorNotRunning);
    if (!entryByName(entry))
        return std::unexpected(nm::kErrorNoSuchEntry);
    // NetworkManager keeps the secrets and uses them itself.
    return dialup::DialParams {};
}

std::expected<dialup::ConnectionHandle, dialup::ErrorCode> NmDialUpService::dial(
    const std::string &entry, const std::string &, const std::string &, dialup::DialNotifier notifier)
{
    if (!m_running)
        return std::unexpected(nm::kErrorNotRunning);
    const Entry *found = entryByName(entry);
    if (!found)
        return std::unexpected(nm::kErrorNoSuchEntry);
    if (!m_mayControl)
        return std::unexpected(nm::kErrorNotPermitted);
    const dialup::ConnectionHandle handle = m_nextHandle++;
    m_watches[handle] = Watch { {}, std::move(notifier), { ~0U, ~0U }, false };
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, kManagerPath, kManagerInterface, QStringLiteral("ActivateConnection"));
    message << QVariant::fromValue(QDBusObjectPath(found->path)) << QVariant::fromValue(QDBusObjectPath(kNoObject))
            << QVariant::fromValue(QDBusObjectPath(kNoObject));
    callAsync(message, [this, handle](const QDBusMessage &reply) {
        const auto it = m_watches.find(handle);
        if (it == m_watches.end())
            return;
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            notify(handle, { dialup::kOpenPort, refusal(reply) });
            m_watches.erase(handle);
            return;
        }
        const QString activePath = reply.arguments().constFirst().value<QDBusObjectPath>().path();
        if (it->second.cancelled) {
            m_watches.erase(it);
            deactivate(activePath);
            return;
        }
        it->second.activePath = activePath;
        m_handles.try_emplace(activePath, handle);
        reportProgress();
    });
    return handle;
}

std::expected<void, dialup::ErrorCode> NmDialUpService::hangUp(dialup::ConnectionHandle handle)
{
    if (!m_running)
        return std::unexpected(nm::kErrorNotRunning);
    if (const auto it = m_watches.find(handle); it != m_watches.end() && it->second.activePath.isEmpty()) {
        it->second.cancelled = true;
        return {};
    }
    const QString path = pathOfHandle(handle);
    if (!activeByPath(path))
        return std::unexpected(nm::kErrorNoSuchConnection);
    m_watches.erase(handle);
    deactivate(path);
    return {};
}

void NmDialUpService::deactivate(const QString &activePath)
{
    // Shown as going down at once, so the next tick does not take the line
    // for a new call while NetworkManager is still answering.
    if (Active *active = activeByPath(activePath))
        active->state = nm::kDeactivating;
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, kManagerPath, kManagerInterface, QStringLiteral("DeactivateConnection"));
    message << QVariant::fromValue(QDBusObjectPath(activePath));
    const QDBusPendingCall call = m_bus.asyncCall(message, m_timeoutMs);
    m_hangUps.push_back(call);
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    const std::uint64_t generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation, activePath] {
        watcher->deleteLater();
        std::erase_if(m_hangUps, [watcher](const QDBusPendingCall &pending) { return pending.isFinished(); });
        // Refused: read it again, so the line shows as it really is.
        if (generation == m_generation && watcher->isError())
            loadActive(activePath);
    });
}

std::string NmDialUpService::errorText(dialup::ErrorCode code)
{
    if (code == nm::kErrorRequestFailed)
        return m_lastRefusal.toStdString();
    const QString text = nm::errorText(code);
    return (text.isEmpty() ? QStringLiteral("NetworkManager error %1.").arg(code) : text).toStdString();
}

std::expected<void, dialup::ErrorCode> NmDialUpService::createEntry(dialup::NativeWindow)
{
    const QString editor = QStandardPaths::findExecutable(QStringLiteral("nm-connection-editor"));
    if (editor.isEmpty() || !QProcess::startDetached(editor, { QStringLiteral("--create") }))
        return std::unexpected(nm::kErrorNoEditor);
    return {};
}

std::expected<void, dialup::ErrorCode> NmDialUpService::editEntry(dialup::NativeWindow, const std::string &entry)
{
    const Entry *found = entryByName(entry);
    if (!found)
        return std::unexpected(nm::kErrorNoSuchEntry);
    const QString editor = QStandardPaths::findExecutable(QStringLiteral("nm-connection-editor"));
    if (editor.isEmpty() || !QProcess::startDetached(editor, { QStringLiteral("--edit"), found->uuid }))
        return std::unexpected(nm::kErrorNoEditor);
    return {};
}

dialup::ErrorCode NmDialUpService::refusal(const QDBusMessage &reply)
{
    if (reply.errorName() == QLatin1String("org.freedesktop.NetworkManager.PermissionDenied"))
        return nm::kErrorNotPermitted;
    if (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
        return nm::kErrorNotRunning;
    m_lastRefusal
        = reply.errorMessage().isEmpty() ? QStringLiteral("NetworkManager did not answer.") : reply.errorMessage();
    return nm::kErrorRequestFailed;
}

const NmDialUpService::Entry *NmDialUpService::entryByPath(const QString &path) const
{
    for (const Entry &entry : m_entries)
        if (entry.path == path)
            return &entry;
    return nullptr;
}

const NmDialUpService::Entry *NmDialUpService::entryByName(const std::string &name) const
{
    const QString wanted = QString::fromStdString(name);
    for (const Entry &entry : m_entries)
        if (entry.id == wanted)
            return &entry;
    return nullptr;
}

NmDialUpService::Active *NmDialUpService::activeByPath(const QString &path)
{
    for (Active &active : m_active)
        if (active.path == path)
            return &active;
    return nullptr;
}

std::optional<nm::DeviceState> NmDialUpService::firstDevice(const Active &active) const
{
    if (active.devices.isEmpty())
        return std::nullopt;
    const auto it = m_devices.find(active.devices.constFirst());
    return it == m_devices.end() ? std::nullopt : std::optional(it->second);
}

dialup::ConnectionHandle NmDialUpService::handleFor(const QString &activePath)
{
    const auto [it, added] = m_handles.try_emplace(activePath, m_nextHandle);
    if (added)
        ++m_nextHandle;
    return it->second;
}

QString NmDialUpService::pathOfHandle(dialup::ConnectionHandle handle) const
{
    if (const auto it = m_watches.find(handle); it != m_watches.end() && !it->second.activePath.isEmpty())
        return it->second.activePath;
    for (const auto &[path, known] : m_handles)
        if (known == handle)
            return path;
    return {};
}
