#include "platform/windows/RunKeyRegistration.h"

#include "platform/windows/WinText.h"

#include "platform/windows/Win32.h"

#include <utility>

namespace {

LSTATUS writeCommand(HKEY key, const std::wstring &valueName, const std::wstring &programPath)
{
    if (programPath.empty())
        return ERROR_INVALID_PARAMETER;
    // Unquoted, a path with blanks would let the system start "C:\Program.exe"
    // instead; a file name cannot hold a quote, so no escaping is needed.
    const std::wstring command = L'"' + programPath + L'"';
    const auto bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(command.c_str()), bytes);
}

} // namespace

RunKeyRegistration::RunKeyRegistration()
    : RunKeyRegistration(Hive::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Dialtally")
{
}

RunKeyRegistration::RunKeyRegistration(Hive hive, std::string keyPath, std::string valueName)
    : m_hive(hive)
    , m_keyPath(std::move(keyPath))
    , m_valueName(std::move(valueName))
{
}

std::expected<void, std::string> RunKeyRegistration::apply(bool runAtStartup, const std::string &programPath)
{
    const auto keyPath = wintext::wideFromUtf8(m_keyPath);
    const auto valueName = wintext::wideFromUtf8(m_valueName);
    // The path matters only when registering: a bad one must not block removal.
    const auto path = wintext::wideFromUtf8(runAtStartup ? programPath : std::string());
    for (const auto *converted : { &keyPath, &valueName, &path }) {
        if (!converted->has_value())
            return std::unexpected(wintext::systemErrorText(converted->error()));
    }

    const HKEY root = m_hive == Hive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
    HKEY key = nullptr;
    LSTATUS result = RegOpenKeyExW(root, keyPath->c_str(), 0, KEY_SET_VALUE, &key);
    if (result != ERROR_SUCCESS) {
        // Without the key there is no value to remove.
        if (!runAtStartup && result == ERROR_FILE_NOT_FOUND)
            return {};
        return std::unexpected(wintext::systemErrorText(static_cast<std::uint32_t>(result)));
    }
    if (runAtStartup) {
        result = writeCommand(key, *valueName, *path);
    } else {
        result = RegDeleteValueW(key, valueName->c_str());
        if (result == ERROR_FILE_NOT_FOUND)
            result = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return std::unexpected(wintext::systemErrorText(static_cast<std::uint32_t>(result)));
    return {};
}
