#include "platform/simdialup/SimDialUpService.h"

#include "platform/simdialup/ProcessProbe.h"
#include "platform/simdialup/SimErrors.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>

namespace {

bool sameEntry(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

SimDialUpService::SimDialUpService(const QString &programFolder)
    : SimDialUpService(programFolder, Options {})
{
}

SimDialUpService::SimDialUpService(const QString &programFolder, Options options)
    : m_phonebook(programFolder)
    , m_stateFile(programFolder)
    , m_ownClock(options.clock ? nullptr : std::make_unique<SystemClock>())
    , m_clock(options.clock ? *options.clock : *m_ownClock)
    , m_ownerPid(options.ownerPid != 0 ? options.ownerPid : QCoreApplication::applicationPid())
    , m_editor(std::move(options.editor))
{
    m_timer.setInterval(kPollMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &SimDialUpService::pollProgress);
}

SimDialUpService::~SimDialUpService() = default;

qint64 SimDialUpService::nowMs() const
{
    if (!m_ownClock)
        return m_clock.monotonicMilliseconds();
    // The same clock in every process, unlike a clock that starts with ours.
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool SimDialUpService::isOver(const SimConnection &connection, qint64 now) const
{
    const SimConnection::Phase phase = connection.at(now).phase;
    if (phase == SimConnection::Phase::Gone)
        return true;
    // A connected line outlives the program that dialled it; a dial does not.
    const bool unfinished = phase == SimConnection::Phase::Dialling || phase == SimConnection::Phase::Failed;
    return unfinished && !processIsRunning(connection.ownerPid);
}

std::expected<std::vector<SimConnection>, dialup::ErrorCode> SimDialUpService::liveConnections()
{
    const auto state = m_stateFile.read();
    if (!state)
        return std::unexpected(state.error());
    const qint64 now = nowMs();
    std::vector<SimConnection> live = state->connections;
    const auto over = [this, now](const SimConnection &c) { return isOver(c, now); };
    if (std::erase_if(live, over) > 0) {
        // Another process may tidy up at the same moment; either result is the same.
        (void)m_stateFile.update([&over](SimStateFile::State &s) { return std::erase_if(s.connections, over) > 0; });
    }
    return live;
}

std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> SimDialUpService::enumConnections()
{
    const auto live = liveConnections();
    if (!live)
        return std::unexpected(live.error());
    std::vector<dialup::ActiveConnection> list;
    for (const SimConnection &c : *live)
        list.push_back({ c.handle, c.entryName.toStdString() });
    return list;
}

std::expected<dialup::ConnectionStatus, dialup::ErrorCode> SimDialUpService::connectionStatus(
    dialup::ConnectionHandle handle)
{
    const auto live = liveConnections();
    if (!live)
        return std::unexpected(live.error());
    for (const SimConnection &c : *live) {
        if (c.handle == handle)
            return c.at(nowMs()).status;
    }
    return std::unexpected(simdialup::kInvalidHandle);
}

std::expected<dialup::ByteCounters, dialup::ErrorCode> SimDialUpService::connectionBytes(
    dialup::ConnectionHandle handle)
{
    const auto live = liveConnections();
    if (!live)
        return std::unexpected(live.error());
    for (const SimConnection &c : *live) {
        if (c.handle == handle)
            return c.bytesAt(nowMs());
    }
    return std::unexpected(simdialup::kInvalidHandle);
}

std::expected<std::vector<std::string>, dialup::ErrorCode> SimDialUpService::enumEntries()
{
    const auto names = m_phonebook.entryNames();
    if (!names)
        return std::unexpected(names.error());
    std::vector<std::string> list;
    for (const QString &name : *names)
        list.push_back(name.toStdString());
    return list;
}

std::expected<dialup::DialParams, dialup::ErrorCode> SimDialUpService::entryDialParams(const std::string &entry)
{
    const auto found = m_phonebook.entry(QString::fromStdString(entry));
    if (!found)
        return std::unexpected(found.error());
    dialup::DialParams params;
    params.userName = found->userName.toStdString();
    params.passwordSaved = found->savePassword;
    if (found->savePassword)
        params.password = found->password.toStdString();
    return params;
}

std::expected<dialup::ConnectionHandle, dialup::ErrorCode> SimDialUpService::dial(
    const std::string &entry, const std::string &userName, const std::string &password, dialup::DialNotifier notifier)
{
    const auto found = m_phonebook.entry(QString::fromStdString(entry));
    if (!found)
        return std::unexpected(found.error());
    SimConnection connection
        = SimConnection::plan(*found, QString::fromStdString(userName), QString::fromStdString(password));
    connection.ownerPid = m_ownerPid;
    connection.dialStartMs = nowMs();

    bool busy = false;
    const auto written = m_stateFile.update([&](SimStateFile::State &state) {
        std::erase_if(state.connections, [&](const SimConnection &c) { return isOver(c, connection.dialStartMs); });
        busy = std::ranges::any_of(
            state.connections, [&](const SimConnection &c) { return sameEntry(c.entryName, connection.entryName); });
        if (busy)
            return true;
        dialup::ConnectionHandle handle = state.nextHandle;
        const auto inUse = [&](dialup::ConnectionHandle h) {
            return h == 0
                || std::ranges::any_of(state.connections, [h](const SimConnection &c) { return c.handle == h; });
        };
        while (inUse(handle))
            ++handle;
        connection.handle = handle;
        state.nextHandle = handle + 1 == 0 ? 1 : handle + 1;
        state.connections.push_back(connection);
        return true;
    });
    if (!written)
        return std::unexpected(written.error());
    if (busy)
        return std::unexpected(simdialup::kLineInUse);
    if (notifier) {
        m_watches[connection.handle] = Watch { connection, std::move(notifier) };
        m_timer.start();
    }
    return connection.handle;
}

std::expected<void, dialup::ErrorCode> SimDialUpService::hangUp(dialup::ConnectionHandle handle)
{
    // No more news of a dial the program itself ends.
    m_watches.erase(handle);
    bool found = false;
    const auto written = m_stateFile.update([&](SimStateFile::State &state) {
        found = std::erase_if(state.connections, [handle](const SimConnection &c) { return c.handle == handle; }) > 0;
        return found;
    });
    if (!written)
        return std::unexpected(written.error());
    if (!found)
        return std::unexpected(simdialup::kInvalidHandle);
    return {};
}

std::string SimDialUpService::errorText(dialup::ErrorCode code) { return simdialup::errorText(code); }

std::expected<void, dialup::ErrorCode> SimDialUpService::createEntry(dialup::NativeWindow owner)
{
    const auto names = m_phonebook.entryNames();
    if (!names)
        return std::unexpected(names.error());
    if (!m_editor)
        return std::unexpected(simdialup::kCancelled);
    const auto entry = m_editor(owner, SimEntry {}, true, *names);
    if (!entry)
        return std::unexpected(simdialup::kCancelled);
    return m_phonebook.store(*entry, SimPhonebook::StoreMode::Create);
}

std::expected<void, dialup::ErrorCode> SimDialUpService::editEntry(
    dialup::NativeWindow owner, const std::string &entryName)
{
    const auto current = m_phonebook.entry(QString::fromStdString(entryName));
    if (!current)
        return std::unexpected(current.error());
    if (!m_editor)
        return std::unexpected(simdialup::kCancelled);
    auto edited = m_editor(owner, *current, false, {});
    if (!edited)
        return std::unexpected(simdialup::kCancelled);
    edited->name = current->name; // an edit never renames
    return m_phonebook.store(*edited, SimPhonebook::StoreMode::Replace);
}

std::vector<dialup::ConnectionStatus> SimDialUpService::reportsFor(
    const Watch &watch, const std::vector<SimConnection> &live, qint64 now) const
{
    const auto listed = std::ranges::find(live, watch.plan.handle, &SimConnection::handle);
    if (listed != live.end())
        return listed->reportsUntil(now);
    std::vector<dialup::ConnectionStatus> reports = watch.plan.reportsUntil(now);
    const SimConnection::Phase phase = watch.plan.at(now).phase;
    if (phase == SimConnection::Phase::Failed || phase == SimConnection::Phase::Disconnected
        || phase == SimConnection::Phase::Gone)
        return reports; // it ended on its own and has been tidied away
    // Hung up by another process: what was already told, then the end.
    reports.resize(std::min(reports.size(), watch.reported));
    const std::uint32_t last = reports.empty() ? dialup::kOpenPort : reports.back().state;
    if (last == dialup::kConnected)
        reports.push_back({ dialup::kDisconnected, 0 });
    else
        reports.push_back({ last, simdialup::kHungUp });
    return reports;
}

void SimDialUpService::pollProgress()
{
    const auto live = liveConnections();
    if (live) {
        const qint64 now = nowMs();
        std::vector<dialup::ConnectionHandle> handles;
        for (const auto &[handle, watch] : m_watches)
            handles.push_back(handle);
        for (const dialup::ConnectionHandle handle : handles) {
            const auto found = m_watches.find(handle);
            if (found == m_watches.end() || found->second.finished)
                continue;
            Watch &watch = found->second;
            const std::vector<dialup::ConnectionStatus> reports = reportsFor(watch, *live, now);
            const auto listed = std::ranges::find(*live, handle, &SimConnection::handle);
            const SimConnection::Phase phase
                = listed != live->end() ? listed->at(now).phase : SimConnection::Phase::Gone;
            const std::size_t from = watch.reported;
            watch.reported = std::max(watch.reported, reports.size());
            watch.finished = phase != SimConnection::Phase::Dialling && phase != SimConnection::Phase::Connected;
            const dialup::DialNotifier notifier = watch.notifier; // the call may end the watch
            for (std::size_t i = from; i < reports.size(); ++i) {
                if (!m_watches.contains(handle))
                    break; // the notifier hung up
                notifier(reports[i].state, reports[i].error);
            }
            const auto after = m_watches.find(handle);
            if (after != m_watches.end() && after->second.finished)
                m_watches.erase(after);
        }
    }
    if (m_watches.empty())
        m_timer.stop();
}
