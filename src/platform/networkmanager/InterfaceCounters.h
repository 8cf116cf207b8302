#pragma once

#include "core/services/DialUpService.h"

#include <QString>

#include <optional>

// The kernel's byte counters of a network interface, as it keeps them under
// `netClass` (normally /sys/class/net): plain small files that need no
// permission and never block. nullopt for a name that is no interface name
// (a path, a dot, too long) or counters that cannot be read.
std::optional<dialup::ByteCounters> readInterfaceCounters(
    const QString &interfaceName, const QString &netClass = QStringLiteral("/sys/class/net"));
