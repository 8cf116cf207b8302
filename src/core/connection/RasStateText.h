#pragma once

#include "core/services/DialUpService.h"

#include <QString>

#include <cstdint>

// The line shown for a dial-up state while the program dials: the state's
// name, or with an error ">" and the service's text for the error.
// Unknown states give an empty text.
QString RasStateText(std::uint32_t state, dialup::ErrorCode error, dialup::DialUpService &service);
