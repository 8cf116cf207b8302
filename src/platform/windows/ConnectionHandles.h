#pragma once

#include "core/services/DialUpService.h"

#include <map>
#include <optional>

// Our 32-bit connection handles for the service's native ones, which are
// pointer-sized and must not be cut down. A native handle keeps its number
// until it is forgotten; numbers are never handed out twice, so a stale one
// cannot reach a later connection. Used on the user-interface thread only.
class ConnectionHandles {
public:
    using Native = void *;

    // 0 for a null native handle.
    [[nodiscard]] dialup::ConnectionHandle idFor(Native native);
    [[nodiscard]] std::optional<Native> find(dialup::ConnectionHandle id) const;
    void forget(dialup::ConnectionHandle id);

private:
    std::map<Native, dialup::ConnectionHandle> m_ids;
    std::map<dialup::ConnectionHandle, Native> m_natives;
    dialup::ConnectionHandle m_lastId = 0;
};
