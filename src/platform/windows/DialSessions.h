#pragma once

#include "platform/windows/Win32.h"

#include "core/services/DialUpService.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

// Runs a function on the user-interface thread some time later; callable
// from any thread.
using PostToUiThread = std::function<void(std::function<void()>)>;

// The dials in progress. The service reports progress on a thread of its own
// and identifies the dial only by a number, so the notification function finds
// the dial's notifier here and posts it to the user-interface thread.
class DialSessions {
public:
    using Id = std::uintptr_t;

    // The registry the service's notification function uses.
    static DialSessions &process();

    DialSessions() = default;
    DialSessions(const DialSessions &) = delete;
    DialSessions &operator=(const DialSessions &) = delete;

    // `liveness` expires when the owner goes away; notifications posted but
    // not yet run are then dropped. Ids start at 1.
    [[nodiscard]] Id add(
        const void *owner, std::weak_ptr<const void> liveness, PostToUiThread post, dialup::DialNotifier notifier);

    // Any thread. Posts the notifier's call; returns whether the dial goes on
    // (false once it connected, disconnected or failed, or for an unknown id),
    // which tells the service whether to send further notifications.
    bool deliver(Id id, std::uint32_t state, dialup::ErrorCode error);

    void remove(Id id);
    void removeOwnedBy(const void *owner);
    [[nodiscard]] bool contains(Id id) const;

private:
    struct Session {
        const void *owner = nullptr;
        std::weak_ptr<const void> liveness;
        PostToUiThread post;
        std::shared_ptr<const dialup::DialNotifier> notifier;
    };

    mutable SRWLOCK m_lock = SRWLOCK_INIT;
    std::map<Id, Session> m_sessions;
    Id m_lastId = 0;
};
