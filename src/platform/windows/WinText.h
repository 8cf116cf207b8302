#pragma once

// Conversions between our UTF-8 text and the system's UTF-16, and the
// system's own text for an error code.

#include <cstdint>
#include <expected>
#include <string>
#include <string_view>

namespace wintext {

// Fails with the system's error code when `text` is not valid UTF-8.
[[nodiscard]] std::expected<std::wstring, std::uint32_t> wideFromUtf8(std::string_view text);

// Unpaired surrogates become U+FFFD.
[[nodiscard]] std::string utf8FromWide(std::wstring_view text);

// Copies a zero-terminated field of a fixed-size system record; the field is
// not trusted to hold a terminator.
template <std::size_t N> [[nodiscard]] std::string utf8FromField(const wchar_t (&field)[N])
{
    std::size_t length = 0;
    while (length < N && field[length] != L'\0')
        ++length;
    return utf8FromWide(std::wstring_view(field, length));
}

// Fills a fixed-size field, zero-terminated. Refuses text that does not fit
// or that holds a zero character, which the system would read as a shorter
// (and so different) name.
template <std::size_t N> [[nodiscard]] bool fillField(wchar_t (&field)[N], std::wstring_view text)
{
    if (text.size() >= N || text.find(L'\0') != std::wstring_view::npos)
        return false;
    text.copy(field, text.size());
    field[text.size()] = L'\0';
    return true;
}

// The system's message for a Win32 error code, without the trailing line
// break; "Error <code>" when the system has none.
[[nodiscard]] std::string systemErrorText(std::uint32_t code);

} // namespace wintext
