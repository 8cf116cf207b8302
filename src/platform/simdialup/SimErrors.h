#pragma once

#include "core/services/DialUpService.h"

#include <string>

// The error codes the simulated dial-up service reports, and their texts.
// The numbers follow the platform service's numbering where it has one, so
// that a user who knows those numbers recognises them.
namespace simdialup {

inline constexpr dialup::ErrorCode kInvalidHandle = 6;
inline constexpr dialup::ErrorCode kAlreadyExists = 183;
inline constexpr dialup::ErrorCode kLineInUse = 602;
inline constexpr dialup::ErrorCode kConnectionListFailed = 610;
inline constexpr dialup::ErrorCode kPhonebookFailed = 621;
inline constexpr dialup::ErrorCode kEntryNotFound = 623;
inline constexpr dialup::ErrorCode kHungUp = 631;
inline constexpr dialup::ErrorCode kNoDialInPermission = 649;
inline constexpr dialup::ErrorCode kLineBusy = 676;
inline constexpr dialup::ErrorCode kNoAnswer = 678;
inline constexpr dialup::ErrorCode kNoDialTone = 680;
inline constexpr dialup::ErrorCode kAuthenticationFailed = 691;
inline constexpr dialup::ErrorCode kCancelled = dialup::kErrorCancelled;

// A clear sentence for every code above; any other code gets a generic text
// naming its number. Every text is shorter than 100 bytes.
std::string errorText(dialup::ErrorCode code);

// Errors that the remote end gives while it checks the account, as opposed
// to errors of the line or the modem.
bool isAuthenticationError(dialup::ErrorCode code);

} // namespace simdialup
