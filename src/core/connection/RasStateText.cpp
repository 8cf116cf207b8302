#include "core/connection/RasStateText.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// The service's error text whole: a reason cut short explains nothing.
QString errorLine(const std::string &text)
{
    const auto end = text.find('\0');
    return QLatin1Char('>') + QString::fromUtf8(text.data(), qsizetype(end == std::string::npos ? text.size() : end));
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
