#include "platform/networkmanager/NmDialUpService.h"

#include "platform/networkmanager/InterfaceCounters.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>

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
// Settings read at the same time, well under the bus's limit of answers awaited at once.
constexpr qsizetype kSettingsReadsAtOnce = 32;

// Retries of a failed read: quick at first, then every five seconds.
constexpr int kRetryMs[] = { 500, 1000, 2000, 4000, 5000 };
// While a line is up, its state is read whole this often besides the signals.
constexpr int kCallRereadMs = 10000;
// An activation may wait on the user typing a password; its answer is waited
// for however long that takes, the caller being told after the usual time.
constexpr int kActivationAnswerMs = 30 * 60 * 1000;

bool isReply(const QDBusMessage &reply) { return reply.type() == QDBusMessage::ReplyMessage; }

// Values are taken only with the type NetworkManager documents; anything
// else makes the whole read count as failed.
std::optional<QStringList> pathList(const QVariant &value)
{
    if (!value.canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("ao"))
        return std::nullopt;
    QList<QDBusObjectPath> paths;
    argument >> paths;
    QStringList result;
    for (const QDBusObjectPath &path : std::as_const(paths))
        result.append(path.path());
    return result;
}

std::optional<QString> pathOf(const QVariant &value)
{
    if (value.metaType() != QMetaType::fromType<QDBusObjectPath>())
        return std::nullopt;
    return value.value<QDBusObjectPath>().path();
}

std::optional<std::uint32_t> numberOf(const QVariant &value)
{
    if (value.metaType() != QMetaType::fromType<uint>())
        return std::nullopt;
    return value.toUInt();
}

std::optional<QString> textOf(const QVariant &value)
{
    if (value.metaType() != QMetaType::fromType<QString>())
        return std::nullopt;
    return value.toString();
}

std::optional<QVariantMap> propertiesOf(const QDBusMessage &reply)
{
    if (!isReply(reply) || reply.arguments().isEmpty() || !reply.arguments().constFirst().canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = reply.arguments().constFirst().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a{sv}"))
        return std::nullopt;
    return qdbus_cast<QVariantMap>(argument);
}

std::optional<std::uint32_t> reasonOf(const QVariant &value)
{
    if (!value.canConvert<QDBusArgument>())
        return std::nullopt;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("(uu)"))
        return std::nullopt;
    std::uint32_t state = 0;
    std::uint32_t reason = 0;
    argument.beginStructure();
    argument >> state >> reason;
    argument.endStructure();
    return reason;
}

QDBusMessage getAll(const QString &path, const QString &interface)
{
    QDBusMessage message
        = QDBusMessage::createMethodCall(kService, path, kPropertiesInterface, QStringLiteral("GetAll"));
    message << interface;
    return message;
}

bool nameIsGone(const QDBusMessage &reply)
{
    return reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

QString handleKey(const QString &activePath, const QString &connection) { return activePath + u'|' + connection; }

} // namespace

NmDialUpService::NmDialUpService(QDBusConnection bus, int timeoutMs)
    : m_bus(std::move(bus))
    , m_timeoutMs(timeoutMs)
    , m_watcher(new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this))
{
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString &, const QString &, const QString &owner) { ownerChanged(!owner.isEmpty()); });
    const auto listen = [this](const QString &interface, const QString &name, const char *slot) {
        m_bus.connect(kService, QString(), interface, name, this, slot);
    };
    listen(kPropertiesInterface, QStringLiteral("PropertiesChanged"), SLOT(onStateSignal(QDBusMessage)));
    listen(kDeviceInterface, QStringLiteral("StateChanged"), SLOT(onStateSignal(QDBusMessage)));
    listen(kActiveInterface, QStringLiteral("StateChanged"), SLOT(onStateSignal(QDBusMessage)));
    listen(kSettingsInterface, QStringLiteral("NewConnection"), SLOT(onSettingsSignal(QDBusMessage)));
    listen(kSettingsInterface, QStringLiteral("ConnectionRemoved"), SLOT(onSettingsSignal(QDBusMessage)));
    listen(kConnectionInterface, QStringLiteral("Updated"), SLOT(onSettingsSignal(QDBusMessage)));
    for (Reader *reader : { &m_entriesReader, &m_stateReader }) {
        reader->retry.setSingleShot(true);
        connect(&reader->retry, &QTimer::timeout, this, [this, reader] { start(*reader); });
    }
    m_callReread.setInterval(kCallRereadMs);
    connect(&m_callReread, &QTimer::timeout, this, [this] { request(m_stateReader); });
    start(m_entriesReader);
    start(m_stateReader);
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
    return isReply(reply) && !reply.arguments().isEmpty() && reply.arguments().constFirst().toBool();
}

bool NmDialUpService::waitUntilReady(int timeoutMs)
{
    if (m_presence == Presence::Present)
        return true;
    QEventLoop loop;
    connect(this, &NmDialUpService::ready, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    return m_presence == Presence::Present;
}

template <typename Done> void NmDialUpService::callAsync(const QDBusMessage &message, Done done, int timeoutMs)
{
    auto *watcher
        = new QDBusPendingCallWatcher(m_bus.asyncCall(message, timeoutMs < 0 ? m_timeoutMs : timeoutMs), this);
    const std::uint64_t generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, watcher, generation, done = std::move(done)]() mutable {
            watcher->deleteLater();
            // Answers from before the name changed hands describe nothing that still exists.
            if (generation == m_generation)
                done(watcher->reply());
        });
}

void NmDialUpService::ownerChanged(bool owned)
{
    ++m_generation;
    if (m_presence == Presence::Present && m_departed.empty()) {
        // Lines up now may still be up when it is back; a call on one goes on.
        for (const Active &active : m_active) {
            const auto handle = m_handles.find(handleKey(active.path, active.connection));
            const auto device = active.devices.isEmpty() ? m_devices.end() : m_devices.find(active.devices.first());
            if (handle != m_handles.end() && device != m_devices.end() && active.state == nm::kActivated)
                m_departed.push_back({ handle->second, active.id, device->second.interface });
        }
        m_departedAt.start();
    }
    m_presence = owned ? Presence::Starting : Presence::Absent;
    m_entriesLoaded = false;
    m_stateLoaded = false;
    m_active.clear();
    m_devices.clear();
    m_activeReasons.clear();
    m_callReread.stop();
    // A dial not yet answered was lost with the name; a dial whose line was
    // up waits for the line to be found again.
    std::vector<dialup::ConnectionHandle> lost;
    for (auto &[handle, watch] : m_watches) {
        const bool waiting = std::ranges::any_of(m_departed, [h = handle](const Departed &d) { return d.handle == h; });
        if (!waiting)
            lost.push_back(handle);
    }
    for (const dialup::ConnectionHandle handle : lost) {
        const bool answered = !m_watches[handle].activePath.isEmpty();
        notify(handle,
            answered ? dialup::ConnectionStatus { dialup::kDisconnected, 0 }
                     : dialup::ConnectionStatus { dialup::kOpenPort, nm::kErrorNotRunning });
        m_watches.erase(handle);
    }
    for (Reader *reader : { &m_entriesReader, &m_stateReader }) {
        reader->retry.stop();
        reader->failures = 0;
        reader->inFlight = false;
        reader->again = false;
        start(*reader);
    }
}

void NmDialUpService::request(Reader &reader)
{
    if (reader.inFlight)
        reader.again = true;
    else if (!reader.retry.isActive())
        start(reader);
    // Otherwise the retry already waiting will read everything anyway.
}

void NmDialUpService::start(Reader &reader)
{
    reader.inFlight = true;
    reader.again = false;
    if (&reader == &m_entriesReader)
        readEntries();
    else
        readState();
}

void NmDialUpService::finished(Reader &reader, const QDBusMessage *failure)
{
    reader.inFlight = false;
    if (!failure) {
        reader.failures = 0;
        if (reader.again)
            start(reader);
        return;
    }
    // Found out before any answer; once it has answered, only the name's
    // owner changing says it is gone.
    if (nameIsGone(*failure) && m_presence == Presence::Starting)
        m_presence = Presence::Absent;
    const int step = std::min<int>(reader.failures, int(std::size(kRetryMs)) - 1);
    ++reader.failures;
    reader.again = false;
    reader.retry.start(kRetryMs[step]);
}

void NmDialUpService::readEntries()
{
    callAsync(
        QDBusMessage::createMethodCall(kService, kSettingsPath, kSettingsInterface, QStringLiteral("ListConnections")),
        [this](const QDBusMessage &reply) {
            std::optional<QStringList> listed;
            if (isReply(reply) && !reply.arguments().isEmpty())
                listed = pathList(reply.arguments().constFirst());
            if (!listed) {
                finished(m_entriesReader, &reply);
                return;
            }
            struct Batch {
                QStringList paths;
                std::vector<std::optional<Entry>> entries;
                qsizetype next = 0;
                qsizetype inFlight = 0;
                std::optional<QDBusMessage> failure;
                std::function<void()> sendMore;
            };
            auto batch = std::make_shared<Batch>();
            batch->paths = *listed;
            batch->entries.resize(std::size_t(listed->size()));
            const auto finish = [this](Batch &done) {
                if (done.failure) {
                    finished(m_entriesReader, &*done.failure);
                    return;
                }
                m_entries.clear();
                for (auto &entry : done.entries)
                    if (entry)
                        m_entries.push_back(std::move(*entry));
                m_entriesLoaded = true;
                finished(m_entriesReader, nullptr);
                settle();
            };
            if (batch->paths.isEmpty()) {
                finish(*batch);
                return;
            }
            // The system bus lets a client await only 128 answers at once
            // unless configured otherwise: a long list is read a part at a time.
            batch->sendMore = [this, finish, weak = std::weak_ptr<Batch>(batch)] {
                const std::shared_ptr<Batch> b = weak.lock();
                while (b && !b->failure && b->next < b->paths.size() && b->inFlight < kSettingsReadsAtOnce) {
                    const qsizetype i = b->next++;
                    ++b->inFlight;
                    callAsync(QDBusMessage::createMethodCall(
                                  kService, b->paths.at(i), kConnectionInterface, QStringLiteral("GetSettings")),
                        [b, finish, i](const QDBusMessage &answer) {
                            const bool wellFormed = isReply(answer) && !answer.arguments().isEmpty()
                                && answer.arguments().constFirst().canConvert<QDBusArgument>()
                                && answer.arguments().constFirst().value<QDBusArgument>().currentSignature()
                                    == QLatin1String("a{sa{sv}}");
                            if (!wellFormed) {
                                b->failure = answer;
                            } else {
                                const auto settings
                                    = qdbus_cast<QMap<QString, QVariantMap>>(answer.arguments().constFirst());
                                const QVariantMap connection = settings.value(QStringLiteral("connection"));
                                if (nm::isDialUpEntry(settings))
                                    b->entries[std::size_t(i)]
                                        = Entry { b->paths.at(i), connection.value(QStringLiteral("id")).toString(),
                                              connection.value(QStringLiteral("uuid")).toString() };
                            }
                            --b->inFlight;
                            if (b->inFlight == 0 && (b->failure || b->next == b->paths.size())) {
                                b->sendMore = {};
                                finish(*b);
                            } else {
                                b->sendMore();
                            }
                        });
                }
            };
            batch->sendMore();
        });
    callAsync(
        QDBusMessage::createMethodCall(kService, kManagerPath, kManagerInterface, QStringLiteral("GetPermissions")),
        [this](const QDBusMessage &reply) {
            if (!isReply(reply) || reply.arguments().isEmpty())
                return;
            const auto permissions = qdbus_cast<QMap<QString, QString>>(reply.arguments().constFirst());
            m_mayControl = permissions.value(QStringLiteral("org.freedesktop.NetworkManager.network-control"))
                != QLatin1String("no");
        });
}

void NmDialUpService::readState()
{
    callAsync(getAll(kManagerPath, kManagerInterface), [this](const QDBusMessage &reply) {
        const auto properties = propertiesOf(reply);
        const auto paths = properties ? pathList(properties->value(QStringLiteral("ActiveConnections"))) : std::nullopt;
        if (!paths) {
            finished(m_stateReader, &reply);
            return;
        }
        struct Batch {
            std::vector<Active> actives;
            std::size_t remaining = 0;
            std::optional<QDBusMessage> failure;
        };
        auto batch = std::make_shared<Batch>();
        batch->actives.resize(std::size_t(paths->size()));
        batch->remaining = batch->actives.size();
        if (batch->remaining == 0) {
            readDevices({});
            return;
        }
        for (qsizetype i = 0; i < paths->size(); ++i) {
            const QString path = paths->at(i);
            callAsync(getAll(path, kActiveInterface), [this, batch, path, i](const QDBusMessage &answer) {
                const auto active = propertiesOf(answer);
                const auto connection = active ? pathOf(active->value(QStringLiteral("Connection"))) : std::nullopt;
                const auto state = active ? numberOf(active->value(QStringLiteral("State"))) : std::nullopt;
                const auto devices = active ? pathList(active->value(QStringLiteral("Devices"))) : std::nullopt;
                const auto id = active ? textOf(active->value(QStringLiteral("Id"))) : std::nullopt;
                if (!connection || !state || !devices || !id)
                    batch->failure = answer;
                else
                    batch->actives[std::size_t(i)] = Active { path, *id, *connection, *devices, *state };
                if (--batch->remaining > 0)
                    return;
                if (batch->failure)
                    finished(m_stateReader, &*batch->failure);
                else
                    readDevices(std::move(batch->actives));
            });
        }
    });
}

void NmDialUpService::readDevices(std::vector<Active> actives)
{
    QStringList paths;
    for (const Active &active : actives)
        for (const QString &device : active.devices)
            if (!paths.contains(device))
                paths.append(device);
    struct Batch {
        std::vector<Active> actives;
        std::map<QString, Device> devices;
        std::size_t remaining = 0;
        std::optional<QDBusMessage> failure;
    };
    auto batch = std::make_shared<Batch>();
    batch->actives = std::move(actives);
    batch->remaining = std::size_t(paths.size());
    if (batch->remaining == 0) {
        finished(m_stateReader, nullptr);
        commitState(std::move(batch->actives), {});
        return;
    }
    for (const QString &path : std::as_const(paths)) {
        callAsync(getAll(path, kDeviceInterface), [this, batch, path](const QDBusMessage &answer) {
            const auto device = propertiesOf(answer);
            const auto state = device ? numberOf(device->value(QStringLiteral("State"))) : std::nullopt;
            const auto interface = device ? textOf(device->value(QStringLiteral("Interface"))) : std::nullopt;
            if (!state || !interface)
                batch->failure = answer;
            else
                batch->devices[path]
                    = Device { *state, reasonOf(device->value(QStringLiteral("StateReason"))).value_or(0), *interface,
                          textOf(device->value(QStringLiteral("IpInterface"))).value_or(QString()) };
            if (--batch->remaining > 0)
                return;
            if (batch->failure) {
                finished(m_stateReader, &*batch->failure);
                return;
            }
            finished(m_stateReader, nullptr);
            commitState(std::move(batch->actives), std::move(batch->devices));
        });
    }
}

void NmDialUpService::commitState(std::vector<Active> actives, std::map<QString, Device> devices)
{
    m_active = std::move(actives);
    m_devices = std::move(devices);
    m_stateLoaded = true;
    settle();
}

void NmDialUpService::settle()
{
    if (!m_entriesLoaded || !m_stateLoaded)
        return;
    m_presence = Presence::Present;

    // Back after a restart: a line still up on the same device is the line it was.
    const bool inGrace = m_departedAt.isValid() && m_departedAt.elapsed() <= kRestartGraceMs;
    for (const Departed &departed : std::exchange(m_departed, {})) {
        const auto same = std::ranges::find_if(m_active, [&](const Active &active) {
            const auto device = active.devices.isEmpty() ? m_devices.end() : m_devices.find(active.devices.first());
            return inGrace && active.id == departed.id && active.state == nm::kActivated && device != m_devices.end()
                && device->second.interface == departed.interface && entryByPath(active.connection)
                && !m_handles.contains(handleKey(active.path, active.connection));
        });
        const auto watch = m_watches.find(departed.handle);
        std::erase_if(m_handles, [&](const auto &h) { return h.second == departed.handle; });
        if (same == m_active.end()) {
            if (watch != m_watches.end()) {
                notify(departed.handle, { dialup::kDisconnected, 0 });
                m_watches.erase(departed.handle);
            }
            continue;
        }
        m_handles[handleKey(same->path, same->connection)] = departed.handle;
        if (watch != m_watches.end())
            watch->second.activePath = same->path;
    }
    m_departedAt.invalidate();

    std::erase_if(m_handles, [this](const auto &known) {
        return std::ranges::none_of(
            m_active, [&](const Active &active) { return handleKey(active.path, active.connection) == known.first; });
    });
    std::erase_if(m_activeReasons, [this](const auto &reason) { return !activeByPath(reason.first); });
    // A dial whose connection is gone has ended, whoever ended it.
    std::vector<dialup::ConnectionHandle> ended;
    for (const auto &[handle, watch] : m_watches)
        if (!watch.activePath.isEmpty() && !activeByPath(watch.activePath))
            ended.push_back(handle);
    for (const dialup::ConnectionHandle handle : ended) {
        notify(handle, { dialup::kDisconnected, 0 });
        m_watches.erase(handle);
    }
    const bool lineUp = std::ranges::any_of(m_active, [this](const Active &a) { return entryByPath(a.connection); });
    if (lineUp && !m_callReread.isActive())
        m_callReread.start();
    else if (!lineUp)
        m_callReread.stop();
    reportProgress();
    emit ready();
}

void NmDialUpService::onStateSignal(const QDBusMessage &message)
{
    // Only the reason an active connection gives for ending is kept: no
    // property holds it. It counts only once a read shows the end.
    if (message.interface() == kActiveInterface && message.member() == QLatin1String("StateChanged")
        && message.arguments().size() >= 2) {
        const auto reason = numberOf(message.arguments().at(1));
        if (reason && activeByPath(message.path()))
            m_activeReasons[message.path()] = *reason;
    }
    if (message.interface() == kPropertiesInterface && !message.arguments().isEmpty()
        && message.arguments().constFirst().toString() == kSettingsInterface) {
        request(m_entriesReader);
        return;
    }
    request(m_stateReader);
}

void NmDialUpService::onSettingsSignal(const QDBusMessage &) { request(m_entriesReader); }

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
        if (!active)
            continue;
        const dialup::ConnectionStatus status = statusOf(*active);
        if (status.state != it->second.reported.state || status.error != it->second.reported.error)
            notify(handle, status);
    }
}

std::optional<dialup::ErrorCode> NmDialUpService::unavailable() const
{
    switch (m_presence) {
    case Presence::Absent:
        return nm::kErrorNotRunning;
    case Presence::Starting:
        return nm::kErrorNotAnswering;
    case Presence::Present:
        break;
    }
    return std::nullopt;
}

std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> NmDialUpService::enumConnections()
{
    if (const auto away = unavailable())
        return std::unexpected(*away);
    std::vector<dialup::ActiveConnection> result;
    for (const Active &active : m_active) {
        // Only dial-up links are calls: an ordinary wired or Wi-Fi line costs nothing.
        if (const Entry *entry = entryByPath(active.connection))
            result.push_back({ handleFor(active), entry->id.toStdString() });
    }
    return result;
}

std::expected<dialup::ConnectionStatus, dialup::ErrorCode> NmDialUpService::connectionStatus(
    dialup::ConnectionHandle handle)
{
    if (const auto away = unavailable())
        return std::unexpected(*away);
    const Active *active = activeByPath(pathOfHandle(handle));
    if (!active)
        return std::unexpected(nm::kErrorNoSuchConnection);
    return statusOf(*active);
}

std::expected<std::vector<std::string>, dialup::ErrorCode> NmDialUpService::enumEntries()
{
    if (!m_entriesLoaded)
        return std::unexpected(unavailable().value_or(nm::kErrorNotAnswering));
    std::vector<std::string> names;
    for (const Entry &entry : m_entries)
        names.push_back(entry.id.toStdString());
    return names;
}

std::expected<dialup::DialParams, dialup::ErrorCode> NmDialUpService::entryDialParams(const std::string &entry)
{
    if (const auto away = unavailable())
        return std::unexpected(*away);
    if (!entryByName(entry))
        return std::unexpected(nm::kErrorNoSuchEntry);
    // NetworkManager keeps the secrets and uses them itself.
    return dialup::DialParams {};
}

std::expected<dialup::ConnectionHandle, dialup::ErrorCode> NmDialUpService::dial(
    const std::string &entry, const std::string &, const std::string &, dialup::DialNotifier notifier)
{
    if (const auto away = unavailable())
        return std::unexpected(*away);
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
    // The caller hears of a late answer in the usual time; the answer itself
    // is still taken when it comes, so a cancel can undo what it started.
    QTimer::singleShot(m_timeoutMs, this, [this, handle] {
        const auto it = m_watches.find(handle);
        if (it != m_watches.end() && it->second.activePath.isEmpty() && !it->second.cancelled)
            notify(handle, { dialup::kOpenPort, nm::kErrorNoAnswer });
    });
    const QString connectionPath = found->path;
    callAsync(
        message,
        [this, handle, connectionPath](const QDBusMessage &reply) {
            const auto it = m_watches.find(handle);
            if (it == m_watches.end())
                return;
            const auto activePath = isReply(reply) && !reply.arguments().isEmpty()
                ? pathOf(reply.arguments().constFirst())
                : std::nullopt;
            if (!activePath) {
                notify(handle, { dialup::kOpenPort, refusal(reply) });
                m_watches.erase(handle);
                return;
            }
            if (it->second.cancelled) {
                m_watches.erase(it);
                deactivate(0, *activePath);
                return;
            }
            it->second.activePath = *activePath;
            m_handles.try_emplace(handleKey(*activePath, connectionPath), handle);
            request(m_stateReader);
        },
        kActivationAnswerMs);
    return handle;
}

std::expected<void, dialup::ErrorCode> NmDialUpService::hangUp(dialup::ConnectionHandle handle)
{
    if (m_presence == Presence::Absent)
        return std::unexpected(nm::kErrorNotRunning);
    if (const auto it = m_watches.find(handle); it != m_watches.end() && it->second.activePath.isEmpty()) {
        it->second.cancelled = true;
        return {};
    }
    const QString path = pathOfHandle(handle);
    if (!activeByPath(path))
        return std::unexpected(nm::kErrorNoSuchConnection);
    m_watches.erase(handle);
    deactivate(handle, path);
    return {};
}

std::expected<dialup::ByteCounters, dialup::ErrorCode> NmDialUpService::connectionBytes(dialup::ConnectionHandle handle)
{
    const Active *active = activeByPath(pathOfHandle(handle));
    if (!active)
        return std::unexpected(nm::kErrorNoSuchConnection);
    const auto device = active->devices.isEmpty() ? m_devices.end() : m_devices.find(active->devices.constFirst());
    if (device == m_devices.end())
        return std::unexpected(dialup::kErrorNoCounters);
    // A device without an IP interface of its own carries the traffic itself.
    const QString &name = device->second.ipInterface.isEmpty() ? device->second.interface : device->second.ipInterface;
    const auto counters = readInterfaceCounters(name);
    if (!counters)
        return std::unexpected(dialup::kErrorNoCounters);
    return *counters;
}

void NmDialUpService::deactivate(dialup::ConnectionHandle handle, const QString &activePath)
{
    // The line is down when NetworkManager lists it so, not when it is asked.
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, kManagerPath, kManagerInterface, QStringLiteral("DeactivateConnection"));
    message << QVariant::fromValue(QDBusObjectPath(activePath));
    const QDBusPendingCall call = m_bus.asyncCall(message, kActivationAnswerMs);
    m_hangUps.push_back(call);
    auto *watcher = new QDBusPendingCallWatcher(call, this);
    const std::uint64_t generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, generation, handle] {
        watcher->deleteLater();
        std::erase_if(m_hangUps, [watcher](const QDBusPendingCall &pending) { return pending.isFinished(); });
        if (generation != m_generation)
            return;
        request(m_stateReader);
        if (watcher->isError() && handle != 0 && m_onRefusal)
            m_onRefusal(handle, refusal(watcher->reply()));
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
    const QString name = reply.errorName();
    if (name == QLatin1String("org.freedesktop.NetworkManager.PermissionDenied")
        || name == QLatin1String("org.freedesktop.DBus.Error.AccessDenied"))
        return nm::kErrorNotPermitted;
    if (nameIsGone(reply))
        return nm::kErrorNotRunning;
    if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply")
        || name == QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        return nm::kErrorNoAnswer;
    // NetworkManager's own errors carry a sentence worth keeping as the detail.
    const QString detail = name.startsWith(kService) ? reply.errorMessage().trimmed() : QString();
    m_lastRefusal = detail.isEmpty() ? QStringLiteral("NetworkManager refused the request.")
                                     : QStringLiteral("NetworkManager refused the request: %1%2")
                                           .arg(detail, detail.endsWith(u'.') ? QString() : QStringLiteral("."));
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

const NmDialUpService::Active *NmDialUpService::activeByPath(const QString &path) const
{
    for (const Active &active : m_active)
        if (active.path == path)
            return &active;
    return nullptr;
}

std::optional<nm::DeviceState> NmDialUpService::firstDevice(const Active &active) const
{
    if (active.devices.isEmpty())
        return std::nullopt;
    const auto it = m_devices.find(active.devices.constFirst());
    if (it == m_devices.end())
        return std::nullopt;
    return nm::DeviceState { it->second.state, it->second.reason };
}

dialup::ConnectionStatus NmDialUpService::statusOf(const Active &active) const
{
    const auto reason = m_activeReasons.find(active.path);
    return nm::connectionStatus(
        active.state, reason == m_activeReasons.end() ? 0 : reason->second, firstDevice(active));
}

dialup::ConnectionHandle NmDialUpService::handleFor(const Active &active)
{
    const auto [it, added] = m_handles.try_emplace(handleKey(active.path, active.connection), m_nextHandle);
    if (added)
        ++m_nextHandle;
    return it->second;
}

QString NmDialUpService::pathOfHandle(dialup::ConnectionHandle handle) const
{
    if (const auto it = m_watches.find(handle); it != m_watches.end() && !it->second.activePath.isEmpty())
        return it->second.activePath;
    for (const auto &[key, known] : m_handles)
        if (known == handle)
            return key.section(u'|', 0, 0);
    return {};
}
