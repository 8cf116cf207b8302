#include "platform/windows/ConnectionHandles.h"

dialup::ConnectionHandle ConnectionHandles::idFor(Native native)
{
    if (native == nullptr)
        return 0;
    const auto known = m_ids.find(native);
    if (known != m_ids.end())
        return known->second;
    const dialup::ConnectionHandle id = ++m_lastId;
    m_ids.emplace(native, id);
    m_natives.emplace(id, native);
    return id;
}

std::optional<ConnectionHandles::Native> ConnectionHandles::find(dialup::ConnectionHandle id) const
{
    const auto known = m_natives.find(id);
    if (known == m_natives.end())
        return std::nullopt;
    return known->second;
}

void ConnectionHandles::forget(dialup::ConnectionHandle id)
{
    const auto known = m_natives.find(id);
    if (known == m_natives.end())
        return;
    m_ids.erase(known->second);
    m_natives.erase(known);
}
