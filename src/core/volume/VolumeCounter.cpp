#include "core/volume/VolumeCounter.h"

#include <limits>

namespace {

constexpr std::uint64_t kWrap32 = std::uint64_t(1) << 32;

} // namespace

void VolumeCounter::reset() { *this = VolumeCounter(); }

void VolumeCounter::Direction::add(std::uint64_t now)
{
    std::uint64_t step = 0;
    if (now >= last) {
        step = now - last;
    } else if (last < kWrap32 && now < kWrap32 && last - now > kWrap32 / 2) {
        // A 32-bit counter passed its top: what was left to it, then the new value.
        step = kWrap32 - last + now;
    }
    last = now;
    constexpr auto kMax = std::uint64_t(std::numeric_limits<qint64>::max());
    total = step >= kMax - std::uint64_t(total) ? qint64(kMax) : total + qint64(step);
}

void VolumeCounter::add(const std::optional<dialup::ByteCounters> &reading)
{
    if (!reading)
        return;
    if (!m_seen) {
        m_seen = true;
        // Counters kept since long before the call only set where it begins.
        m_in.last = reading->fromConnect ? 0 : reading->received;
        m_out.last = reading->fromConnect ? 0 : reading->sent;
    }
    m_in.add(reading->received);
    m_out.add(reading->sent);
    m_volume = { m_in.total, m_out.total };
}
