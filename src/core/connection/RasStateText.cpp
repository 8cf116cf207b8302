#include "core/connection/RasStateText.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// The service's error texts are cut where a buffer of 100 bytes would cut them.
constexpr std::size_t kErrorTextBytes = 99;

QString errorLine(const std::string &text)
{
    std::size_t length = std::min(text.size(), kErrorTextBytes);
    if (length < text.size()) {
        // Do not split a UTF-8 character.
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    const auto end = text.find('\0');
    length = std::min(length, end == std::string::npos ? length : end);
    return QLatin1Char('>') + QString::fromUtf8(text.data(), qsizetype(length));
}

const char *stateName(std::uint32_t state)
{
    static constexpr const char *kLow[] = {
        "Opening port",
        "Port opened",
        "Connecting device",
        "Device connected",
        "Devices connected",
        "Authenticating",
        "Authentication: notify",
        "Authentication: retry",
        "Authentication: callback",
        "Password change",
        "Projecting",
        "Link speed",
        "Acknowledge",
        "Reauthenticate",
        "Authenticated",
        "Preparing",
        "Modem reset",
        "Callback wait",
        "Projected",
        "Authentication",
        "Callback complete",
        "Logging on...",
    };
    if (state < std::size(kLow))
        return kLow[state];
    switch (state) {
    case 4096:
        return "Interactive";
    case 4097:
        return "Retry Authentication";
    case 4098:
        return "Callback set by caller";
    case 4099:
        return "Password Expired";
    case 8192:
        return "Connected";
    case 8193:
        return "Disconnected";
    default:
        return "";
    }
}

} // namespace

QString RasStateText(std::uint32_t state, dialup::ErrorCode error, dialup::DialUpService &service)
{
    if (error != 0)
        return errorLine(service.errorText(error));
    return QString::fromLatin1(stateName(state));
}
