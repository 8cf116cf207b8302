#include "platform/simdialup/SimErrors.h"

#include <array>
#include <utility>

namespace simdialup {

namespace {

constexpr std::array kTexts = {
    std::pair { kInvalidHandle, "The connection no longer exists." },
    std::pair { kAlreadyExists, "A phonebook entry of that name already exists." },
    std::pair { kLineInUse, "This entry is already connected or being dialled." },
    std::pair { kConnectionListFailed, "The list of dial-up connections could not be read or written." },
    std::pair { kPhonebookFailed, "The phonebook file could not be read or written." },
    std::pair { kEntryNotFound, "There is no phonebook entry of that name." },
    std::pair { kHungUp, "The connection was hung up before it was made." },
    std::pair { kNoDialInPermission, "This account is not allowed to dial in." },
    std::pair { kLineBusy, "The line is busy." },
    std::pair { kNoAnswer, "The remote computer does not answer." },
    std::pair { kNoDialTone, "There is no dial tone." },
    std::pair { kAuthenticationFailed, "The remote computer refused the user name or the password." },
    std::pair { kCancelled, "Nothing was changed: the dialog was cancelled." },
};

} // namespace

std::string errorText(dialup::ErrorCode code)
{
    for (const auto &[known, text] : kTexts) {
        if (known == code)
            return text;
    }
    return "Dial-up error " + std::to_string(code) + ".";
}

bool isAuthenticationError(dialup::ErrorCode code)
{
    return code == kAuthenticationFailed || code == kNoDialInPermission;
}

} // namespace simdialup
