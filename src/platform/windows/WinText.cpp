#include "platform/windows/WinText.h"

#include "platform/windows/Win32.h"

#include <climits>

namespace wintext {

std::expected<std::wstring, std::uint32_t> wideFromUtf8(std::string_view text)
{
    if (text.empty())
        return std::wstring();
    if (text.size() > static_cast<std::size_t>(INT_MAX))
        return std::unexpected(static_cast<std::uint32_t>(ERROR_INVALID_PARAMETER));
    const int inLength = static_cast<int>(text.size());
    const int outLength = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), inLength, nullptr, 0);
    if (outLength <= 0)
        return std::unexpected(static_cast<std::uint32_t>(GetLastError()));
    std::wstring wide(static_cast<std::size_t>(outLength), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), inLength, wide.data(), outLength) != outLength)
        return std::unexpected(static_cast<std::uint32_t>(GetLastError()));
    return wide;
}

std::string utf8FromWide(std::wstring_view text)
{
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX))
        return {};
    const int inLength = static_cast<int>(text.size());
    const int outLength = WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0)
        return {};
    std::string utf8(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), inLength, utf8.data(), outLength, nullptr, nullptr);
    return utf8;
}

std::string systemErrorText(std::uint32_t code)
{
    wchar_t buffer[512] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
    std::wstring_view text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.remove_suffix(1);
    if (text.empty())
        return "Error " + std::to_string(code);
    return utf8FromWide(text);
}

} // namespace wintext
