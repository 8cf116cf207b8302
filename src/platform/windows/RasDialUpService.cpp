#include "platform/windows/RasDialUpService.h"

#include "platform/windows/DialSessions.h"
#include "platform/windows/WinText.h"

#include "platform/windows/Win32.h"

#include <ras.h>
#include <raserror.h>

#include <algorithm>
#include <utility>

namespace {

// Entries or connections may be added between asking for the size and
// reading, so the buffer is grown a few times before giving up.
constexpr int kEnumAttempts = 8;

// After a hang-up the port stays busy until the connection has wound down.
constexpr DWORD kHangUpPollMs = 10;
constexpr DWORD kHangUpWaitMs = 3000;

// The notification kind that passes the dial's callback id back to us.
constexpr DWORD kNotifierWithCallbackId = 2;

template <typename Record, typename Enumerate>
std::expected<std::vector<Record>, dialup::ErrorCode> enumerateGrowing(Enumerate enumerate)
{
    std::vector<Record> records(1);
    for (int attempt = 1;; ++attempt) {
        for (Record &record : records) {
            record = Record {};
            record.dwSize = sizeof(Record);
        }
        DWORD bytes = static_cast<DWORD>(records.size() * sizeof(Record));
        DWORD count = 0;
        const DWORD result = enumerate(records.data(), &bytes, &count);
        if (result == ERROR_BUFFER_TOO_SMALL && attempt < kEnumAttempts) {
            const std::size_t needed = (std::size_t { bytes } + sizeof(Record) - 1) / sizeof(Record);
            records.resize(std::max(needed, records.size() + 1));
            continue;
        }
        if (result != ERROR_SUCCESS)
            return std::unexpected(result);
        records.resize(std::min<std::size_t>(count, records.size()));
        return records;
    }
}

// A text the record's field cannot hold is refused with `refusal`.
template <std::size_t N>
std::expected<void, dialup::ErrorCode> fill(wchar_t (&field)[N], const std::string &text, dialup::ErrorCode refusal)
{
    const auto wide = wintext::wideFromUtf8(text);
    if (!wide)
        return std::unexpected(wide.error());
    if (!wintext::fillField(field, *wide))
        return std::unexpected(refusal);
    return {};
}

// A name too long for the phonebook names no entry of it.
constexpr dialup::ErrorCode kNoSuchEntry = ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;

DWORD hangUpAndWait(HRASCONN connection)
{
    const DWORD result = RasHangUpW(connection);
    if (result != ERROR_SUCCESS)
        return result;
    for (DWORD waited = 0; waited < kHangUpWaitMs; waited += kHangUpPollMs) {
        RASCONNSTATUSW status {};
        status.dwSize = sizeof(status);
        if (RasGetConnectStatusW(connection, &status) == ERROR_INVALID_HANDLE)
            break;
        Sleep(kHangUpPollMs);
    }
    return ERROR_SUCCESS;
}

// Runs on the service's thread; a zero result stops further notifications.
DWORD WINAPI dialProgress(ULONG_PTR callbackId, DWORD, HRASCONN, UINT, RASCONNSTATE state, DWORD error, DWORD)
{
    return DialSessions::process().deliver(callbackId, static_cast<std::uint32_t>(state), error) ? 1 : 0;
}

} // namespace

RasDialUpService::RasDialUpService(std::function<void(std::function<void()>)> postToUiThread)
    : m_postToUiThread(std::move(postToUiThread))
{
}

RasDialUpService::~RasDialUpService() { DialSessions::process().removeOwnedBy(this); }

std::expected<std::vector<dialup::ActiveConnection>, dialup::ErrorCode> RasDialUpService::enumConnections()
{
    const auto records = enumerateGrowing<RASCONNW>(
        [](RASCONNW *buffer, DWORD *bytes, DWORD *count) { return RasEnumConnectionsW(buffer, bytes, count); });
    if (!records)
        return std::unexpected(records.error());
    std::vector<dialup::ActiveConnection> connections;
    connections.reserve(records->size());
    for (const RASCONNW &record : *records)
        connections.push_back({ m_handles.idFor(record.hrasconn), wintext::utf8FromField(record.szEntryName) });
    return connections;
}

std::expected<dialup::ConnectionStatus, dialup::ErrorCode> RasDialUpService::connectionStatus(
    dialup::ConnectionHandle handle)
{
    const auto native = m_handles.find(handle);
    if (!native)
        return std::unexpected(ERROR_INVALID_HANDLE);
    RASCONNSTATUSW status {};
    status.dwSize = sizeof(status);
    const DWORD result = RasGetConnectStatusW(static_cast<HRASCONN>(*native), &status);
    if (result != ERROR_SUCCESS)
        return std::unexpected(result);
    return dialup::ConnectionStatus { static_cast<std::uint32_t>(status.rasconnstate), status.dwError };
}

std::expected<dialup::ByteCounters, dialup::ErrorCode> RasDialUpService::connectionBytes(
    dialup::ConnectionHandle handle)
{
    const auto native = m_handles.find(handle);
    if (!native)
        return std::unexpected(ERROR_INVALID_HANDLE);
    RAS_STATS stats {};
    stats.dwSize = sizeof(stats);
    const DWORD result = RasGetConnectionStatistics(static_cast<HRASCONN>(*native), &stats);
    if (result != ERROR_SUCCESS)
        return std::unexpected(result);
    return dialup::ByteCounters { stats.dwBytesRcved, stats.dwBytesXmited, true };
}

std::expected<std::vector<std::string>, dialup::ErrorCode> RasDialUpService::enumEntries()
{
    const auto records = enumerateGrowing<RASENTRYNAMEW>([](RASENTRYNAMEW *buffer, DWORD *bytes, DWORD *count) {
        return RasEnumEntriesW(nullptr, nullptr, buffer, bytes, count);
    });
    if (!records)
        return std::unexpected(records.error());
    std::vector<std::string> names;
    names.reserve(records->size());
    for (const RASENTRYNAMEW &record : *records)
        names.push_back(wintext::utf8FromField(record.szEntryName));
    return names;
}

std::expected<dialup::DialParams, dialup::ErrorCode> RasDialUpService::entryDialParams(const std::string &entry)
{
    RASDIALPARAMSW params {};
    params.dwSize = sizeof(params);
    if (const auto filled = fill(params.szEntryName, entry, kNoSuchEntry); !filled)
        return std::unexpected(filled.error());
    BOOL passwordSaved = FALSE;
    const DWORD result = RasGetEntryDialParamsW(nullptr, &params, &passwordSaved);
    if (result != ERROR_SUCCESS)
        return std::unexpected(result);
    dialup::DialParams stored;
    stored.userName = wintext::utf8FromField(params.szUserName);
    stored.passwordSaved = passwordSaved != FALSE;
    if (stored.passwordSaved)
        stored.password = wintext::utf8FromField(params.szPassword);
    return stored;
}

std::expected<dialup::ConnectionHandle, dialup::ErrorCode> RasDialUpService::dial(
    const std::string &entry, const std::string &userName, const std::string &password, dialup::DialNotifier notifier)
{
    RASDIALPARAMSW params {};
    params.dwSize = sizeof(params);
    for (const auto &filled :
        { fill(params.szEntryName, entry, kNoSuchEntry), fill(params.szUserName, userName, ERROR_INVALID_PARAMETER),
            fill(params.szPassword, password, ERROR_INVALID_PARAMETER) }) {
        if (!filled)
            return std::unexpected(filled.error());
    }

    DialSessions &sessions = DialSessions::process();
    const DialSessions::Id session = sessions.add(this, m_alive, m_postToUiThread, std::move(notifier));
    params.dwCallbackId = session;
    constexpr RASDIALFUNC2 progress = &dialProgress;
    HRASCONN connection = nullptr;
    const DWORD result
        = RasDialW(nullptr, nullptr, &params, kNotifierWithCallbackId, reinterpret_cast<LPVOID>(progress), &connection);
    if (result != ERROR_SUCCESS) {
        sessions.remove(session);
        // A refused dial may still hold a connection, which only a hang-up frees.
        if (connection != nullptr)
            hangUpAndWait(connection);
        return std::unexpected(result);
    }
    const dialup::ConnectionHandle handle = m_handles.idFor(connection);
    m_dialSessions[handle] = session;
    return handle;
}

std::expected<void, dialup::ErrorCode> RasDialUpService::hangUp(dialup::ConnectionHandle handle)
{
    const auto native = m_handles.find(handle);
    if (!native)
        return std::unexpected(ERROR_INVALID_HANDLE);
    const DWORD result = hangUpAndWait(static_cast<HRASCONN>(*native));
    if (result != ERROR_SUCCESS)
        return std::unexpected(result);
    // Whatever the dial still reports after a hang-up is stale.
    if (const auto dialled = m_dialSessions.find(handle); dialled != m_dialSessions.end()) {
        DialSessions::process().remove(dialled->second);
        m_dialSessions.erase(dialled);
    }
    m_handles.forget(handle);
    return {};
}

std::string RasDialUpService::errorText(dialup::ErrorCode code)
{
    wchar_t buffer[512] = {};
    if (RasGetErrorStringW(code, buffer, static_cast<DWORD>(std::size(buffer))) == ERROR_SUCCESS) {
        std::string text = wintext::utf8FromField(buffer);
        if (!text.empty())
            return text;
    }
    return wintext::systemErrorText(code);
}

std::expected<void, dialup::ErrorCode> RasDialUpService::createEntry(dialup::NativeWindow owner)
{
    const DWORD result = RasCreatePhonebookEntryW(reinterpret_cast<HWND>(owner), nullptr);
    if (result != ERROR_SUCCESS)
        return std::unexpected(result);
    return {};
}

std::expected<void, dialup::ErrorCode> RasDialUpService::editEntry(dialup::NativeWindow owner, const std::string &entry)
{
    wchar_t name[RAS_MaxEntryName + 1] = {};
    if (const auto filled = fill(name, entry, kNoSuchEntry); !filled)
        return std::unexpected(filled.error());
    const DWORD result = RasEditPhonebookEntryW(reinterpret_cast<HWND>(owner), nullptr, name);
    if (result != ERROR_SUCCESS)
        return std::unexpected(result);
    return {};
}
