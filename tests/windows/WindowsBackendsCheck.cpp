// Checks the Windows backends where no modem, phonebook entry or
// administrator right is needed. Prints one line per failure and a closing
// count; exits non-zero when anything failed.

#include "platform/windows/ConnectionHandles.h"
#include "platform/windows/DialSessions.h"
#include "platform/windows/RasDialUpService.h"
#include "platform/windows/RunKeyRegistration.h"
#include "platform/windows/WinText.h"

#include "platform/windows/Win32.h"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

int g_passed = 0;
int g_failed = 0;

void check(bool ok, const std::string &what)
{
    if (ok) {
        ++g_passed;
    } else {
        ++g_failed;
        std::printf("FAILED: %s\n", what.c_str());
    }
}

constexpr std::uint32_t kInvalidHandle = 6;
constexpr std::uint32_t kInvalidParameter = 87;
constexpr std::uint32_t kNoSuchEntry = 623;
constexpr std::uint32_t kNotUtf8 = 1113;

bool endsCleanly(const std::string &text) { return !text.empty() && text.back() != '\n' && text.back() != '\r'; }

void textConversion()
{
    const struct {
        const char *name;
        std::string utf8;
        std::wstring wide;
    } valid[] = {
        { "empty", "", L"" },
        { "ASCII", "Dial-up", L"Dial-up" },
        { "two-byte", "Z\xC3\xBCrich", L"Z\u00FCrich" },
        { "three-byte", "\xE2\x82\xAC 5", L"\u20AC 5" },
        { "four-byte becomes a surrogate pair", "\xF0\x9D\x84\x9E", std::wstring { wchar_t(0xD834), wchar_t(0xDD1E) } },
    };
    for (const auto &c : valid) {
        const auto wide = wintext::wideFromUtf8(c.utf8);
        check(wide && *wide == c.wide, std::string("UTF-8 to UTF-16, ") + c.name);
        check(wintext::utf8FromWide(c.wide) == c.utf8, std::string("UTF-16 to UTF-8, ") + c.name);
    }

    const struct {
        const char *name;
        std::string utf8;
    } invalid[] = {
        { "cut short", "ab\xC3" },
        { "byte never used", "\xFF" },
        { "overlong slash", "\xC0\xAF" },
        { "lone continuation", "a\x80z" },
    };
    for (const auto &c : invalid) {
        const auto wide = wintext::wideFromUtf8(c.utf8);
        check(!wide && wide.error() == kNotUtf8, std::string("refuses invalid UTF-8, ") + c.name);
    }
}

void fixedFields()
{
    const wchar_t full[4] = { L'a', L'b', L'c', L'd' };
    check(wintext::utf8FromField(full) == "abcd", "a field without terminator ends at its size");
    const wchar_t early[4] = { L'a', L'\0', L'c', L'd' };
    check(wintext::utf8FromField(early) == "a", "a field ends at its terminator");

    const struct {
        const char *name;
        std::wstring text;
        bool fits;
    } cases[] = {
        { "empty", L"", true },
        { "one short of the size", L"abc", true },
        { "no room for the terminator", L"abcd", false },
        { "holding a zero", std::wstring(L"a\0b", 3), false },
    };
    for (const auto &c : cases) {
        wchar_t field[4] = { L'x', L'x', L'x', L'x' };
        const bool filled = wintext::fillField(field, c.text);
        check(filled == c.fits, std::string("field fill accepted or refused, ") + c.name);
        if (c.fits)
            check(std::wstring(field) == c.text, std::string("field fill is terminated, ") + c.name);
    }
}

void errorTexts()
{
    check(endsCleanly(wintext::systemErrorText(2)), "system text for file not found, without line break");
    check(wintext::systemErrorText(0x2FFFFFFF) == "Error 805306367", "a code the system does not know");

    RasDialUpService service([](std::function<void()>) {});
    for (const std::uint32_t code : { kNoSuchEntry, 678u, kInvalidHandle, 0x2FFFFFFFu })
        check(endsCleanly(service.errorText(code)), "dial-up error text for " + std::to_string(code));
}

void connectionHandles()
{
    int a = 0;
    int b = 0;
    ConnectionHandles handles;
    check(handles.idFor(&a) == 1, "first native handle gets 1");
    check(handles.idFor(&b) == 2, "second native handle gets 2");
    check(handles.idFor(&a) == 1, "a known native handle keeps its number");
    check(handles.idFor(nullptr) == 0, "no native handle is 0");
    check(handles.find(2) == std::optional<void *>(&b), "a number finds its native handle");
    check(!handles.find(3), "an unknown number finds nothing");
    handles.forget(1);
    check(!handles.find(1), "a forgotten number finds nothing");
    check(handles.idFor(&a) == 3, "a forgotten native handle comes back under a new number");
    check(handles.find(2) == std::optional<void *>(&b), "forgetting one leaves the others");
}

struct Queue {
    std::vector<std::function<void()>> posted;
    PostToUiThread poster()
    {
        return [this](std::function<void()> f) { posted.push_back(std::move(f)); };
    }
    void run()
    {
        auto batch = std::move(posted);
        posted.clear();
        for (auto &f : batch)
            f();
    }
};

using Seen = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

void dialSessions()
{
    const auto alive = std::make_shared<const int>(0);
    int owner = 0;

    {
        DialSessions sessions;
        Queue queue;
        Seen seen;
        const auto id = sessions.add(&owner, alive, queue.poster(), [&seen](std::uint32_t s, std::uint32_t e) {
            seen.push_back({ s, e });
        });
        bool goesOn = true;
        for (std::uint32_t state : { 0u, 1u, 2u, 3u, 14u })
            goesOn = sessions.deliver(id, state, 0) && goesOn;
        check(goesOn, "progress states keep the dial going");
        check(seen.empty(), "nothing reaches the notifier before the UI thread runs it");
        queue.run();
        check(seen == Seen { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 14, 0 } },
            "progress arrives in order on the UI thread");
    }

    const struct {
        const char *name;
        std::uint32_t state;
        std::uint32_t error;
        bool goesOn;
    } endings[] = {
        { "connected", 8192, 0, false },
        { "disconnected", 8193, 0, false },
        { "an error while authenticating", 5, 691, false },
        { "device connected", 3, 0, true },
        { "interactive", 4096, 0, true },
    };
    for (const auto &c : endings) {
        DialSessions sessions;
        Queue queue;
        Seen seen;
        const auto id = sessions.add(&owner, alive, queue.poster(), [&seen](std::uint32_t s, std::uint32_t e) {
            seen.push_back({ s, e });
        });
        check(sessions.deliver(id, c.state, c.error) == c.goesOn, std::string("dial goes on or ends, ") + c.name);
        check(sessions.contains(id) == c.goesOn, std::string("session kept only while the dial goes on, ") + c.name);
        check(sessions.deliver(id, 2, 0) == c.goesOn, std::string("later notification, ") + c.name);
        queue.run();
        const Seen expected = c.goesOn ? Seen { { c.state, c.error }, { 2, 0 } } : Seen { { c.state, c.error } };
        check(seen == expected, std::string("what the notifier saw, ") + c.name);
    }

    {
        DialSessions sessions;
        Queue queue;
        check(!sessions.deliver(42, 3, 0) && queue.posted.empty(), "an unknown dial posts nothing");
    }

    {
        DialSessions sessions;
        Queue queue;
        int calls = 0;
        auto shortLived = std::make_shared<const int>(0);
        const auto id
            = sessions.add(&owner, shortLived, queue.poster(), [&calls](std::uint32_t, std::uint32_t) { ++calls; });
        sessions.deliver(id, 8192, 0);
        shortLived.reset();
        queue.run();
        check(calls == 0, "progress posted before its owner went away is dropped");
    }

    {
        DialSessions sessions;
        Queue queue;
        int other = 0;
        const auto mine = sessions.add(&owner, alive, queue.poster(), [](std::uint32_t, std::uint32_t) {});
        const auto theirs = sessions.add(&other, alive, queue.poster(), [](std::uint32_t, std::uint32_t) {});
        check(mine != theirs, "every dial gets its own id");
        sessions.removeOwnedBy(&owner);
        check(!sessions.contains(mine) && sessions.contains(theirs), "removing an owner's dials leaves the others");
    }
}

void dialUpServiceWithoutModem()
{
    Queue queue;
    int notified = 0;
    RasDialUpService service(queue.poster());

    const auto entries = service.enumEntries();
    if (entries) {
        for (const std::string &name : *entries)
            check(!name.empty(), "listed entries have names");
    } else {
        check(entries.error() != 0 && endsCleanly(service.errorText(entries.error())),
            "a failed entry listing gives a code with a text");
    }
    const auto connections = service.enumConnections();
    if (connections) {
        for (const auto &connection : *connections)
            check(connection.handle != 0, "listed connections have handles");
    } else {
        check(connections.error() != 0, "a failed connection listing gives a code");
    }

    check(service.connectionStatus(12345).error() == kInvalidHandle, "status of a handle never listed");
    check(service.hangUp(12345).error() == kInvalidHandle, "hang-up of a handle never listed");

    const std::string longName(257, 'x');
    const std::string zeroInside("Home\0Work", 9);
    const struct {
        const char *name;
        std::string entry, user, password;
        std::uint32_t error;
    } refused[] = {
        { "entry name too long", longName, "", "", kNoSuchEntry },
        { "entry name holding a zero", zeroInside, "", "", kNoSuchEntry },
        { "entry name not UTF-8", "\xFF", "", "", kNotUtf8 },
        { "user name too long", "Home", longName, "", kInvalidParameter },
        { "password too long", "Home", "me", longName, kInvalidParameter },
        { "password not UTF-8", "Home", "me", "\xC3", kNotUtf8 },
    };
    for (const auto &c : refused) {
        const auto dialled
            = service.dial(c.entry, c.user, c.password, [&notified](std::uint32_t, std::uint32_t) { ++notified; });
        check(!dialled && dialled.error() == c.error, std::string("dial refused, ") + c.name);
        if (c.user.empty()) {
            const auto params = service.entryDialParams(c.entry);
            check(!params && params.error() == c.error, std::string("dial parameters refused, ") + c.name);
            check(service.editEntry(0, c.entry).error() == c.error, std::string("entry edit refused, ") + c.name);
        }
    }
    queue.run();
    check(notified == 0, "a refused dial notifies nothing");
}

std::optional<std::wstring> readValue(HKEY key, const wchar_t *name, DWORD &type)
{
    wchar_t data[512] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE *>(data), &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

void runKeyRegistration()
{
    using Hive = RunKeyRegistration::Hive;
    const std::string scratch = "Software\\Tollwise check " + std::to_string(GetCurrentProcessId());

    RunKeyRegistration absentKey(Hive::CurrentUser, scratch + "\\absent", "Tollwise");
    const auto registered = absentKey.apply(true, "C:\\t.exe");
    check(!registered && endsCleanly(registered.error()), "registering under a missing key fails with a text");
    check(absentKey.apply(false, "C:\\t.exe").has_value(), "removing under a missing key is no error");
    HKEY probe = nullptr;
    const LSTATUS opened
        = RegOpenKeyExW(HKEY_CURRENT_USER, wintext::wideFromUtf8(scratch)->c_str(), 0, KEY_READ, &probe);
    check(opened == ERROR_FILE_NOT_FOUND, "the missing key was not created");
    if (opened == ERROR_SUCCESS)
        RegCloseKey(probe);

    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, wintext::wideFromUtf8(scratch)->c_str(), 0, nullptr, 0,
            KEY_READ | KEY_WRITE | DELETE, nullptr, &key, nullptr)
        != ERROR_SUCCESS) {
        check(false, "scratch key could be made");
        return;
    }
    RunKeyRegistration registration(Hive::CurrentUser, scratch, "Tollwise");

    const struct {
        const char *name;
        std::string path;
        std::wstring stored;
    } paths[] = {
        { "path with blanks is quoted", "C:\\Program Files\\Tollwise\\tollwise.exe",
            L"\"C:\\Program Files\\Tollwise\\tollwise.exe\"" },
        { "non-ASCII path", "D:\\T\xC3\xABst\\t.exe", L"\"D:\\T\u00EBst\\t.exe\"" },
    };
    for (const auto &c : paths) {
        check(registration.apply(true, c.path).has_value(), std::string("registers, ") + c.name);
        DWORD type = 0;
        const auto stored = readValue(key, L"Tollwise", type);
        check(stored == c.stored && type == REG_SZ, std::string("stored command line, ") + c.name);
    }

    check(!registration.apply(true, "").has_value(), "an empty path is refused");
    check(!registration.apply(true, "\xFF").has_value(), "a path that is not UTF-8 is refused");
    check(registration.apply(false, "\xFF").has_value(), "removal ignores the path");
    DWORD type = 0;
    check(!readValue(key, L"Tollwise", type), "removal deletes the value");
    check(registration.apply(false, "C:\\t.exe").has_value(), "removing an absent value is no error");

    RegCloseKey(key);
    RegDeleteKeyW(HKEY_CURRENT_USER, wintext::wideFromUtf8(scratch)->c_str());
}

} // namespace

int main()
{
    textConversion();
    fixedFields();
    errorTexts();
    connectionHandles();
    dialSessions();
    dialUpServiceWithoutModem();
    runKeyRegistration();
    std::printf("%d passed, %d failed\n", g_passed, g_failed);
    return g_failed == 0 ? 0 : 1;
}
