#include "platform/windows/DialSessions.h"

#include <utility>

namespace {

// std::mutex is missing from the toolchain's Win32 threading model.
class Exclusive {
public:
    explicit Exclusive(SRWLOCK &lock)
        : m_lock(lock)
    {
        AcquireSRWLockExclusive(&m_lock);
    }
    ~Exclusive() { ReleaseSRWLockExclusive(&m_lock); }
    Exclusive(const Exclusive &) = delete;
    Exclusive &operator=(const Exclusive &) = delete;

private:
    SRWLOCK &m_lock;
};

bool endsDial(std::uint32_t state, dialup::ErrorCode error)
{
    return error != 0 || state == dialup::kConnected || state == dialup::kDisconnected;
}

} // namespace

DialSessions &DialSessions::process()
{
    static DialSessions sessions;
    return sessions;
}

DialSessions::Id DialSessions::add(
    const void *owner, std::weak_ptr<const void> liveness, PostToUiThread post, dialup::DialNotifier notifier)
{
    Exclusive guard(m_lock);
    const Id id = ++m_lastId;
    m_sessions.emplace(id,
        Session { owner, std::move(liveness), std::move(post),
            std::make_shared<const dialup::DialNotifier>(std::move(notifier)) });
    return id;
}

bool DialSessions::deliver(Id id, std::uint32_t state, dialup::ErrorCode error)
{
    Exclusive guard(m_lock);
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end())
        return false;
    // Posted while the lock is held, so the owner cannot be destroyed (and its
    // post function with it) in the middle of the call.
    const Session &session = found->second;
    if (session.post && *session.notifier) {
        session.post([liveness = session.liveness, notifier = session.notifier, state, error] {
            if (liveness.lock())
                (*notifier)(state, error);
        });
    }
    if (!endsDial(state, error))
        return true;
    m_sessions.erase(found);
    return false;
}

void DialSessions::remove(Id id)
{
    Exclusive guard(m_lock);
    m_sessions.erase(id);
}

void DialSessions::removeOwnedBy(const void *owner)
{
    Exclusive guard(m_lock);
    std::erase_if(m_sessions, [owner](const auto &entry) { return entry.second.owner == owner; });
}

bool DialSessions::contains(Id id) const
{
    Exclusive guard(m_lock);
    return m_sessions.contains(id);
}
