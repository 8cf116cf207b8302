#pragma once

#include "core/services/DialUpService.h"
#include "core/store/CallVolume.h"

#include <cstdint>
#include <optional>

// Turns a service's raw byte counters, read once a tick, into a call's bytes
// that only ever grow. A counter that wrapped at 32 bits is followed across
// the wrap; one that went back any other way restarted (an interface that
// went down and up), and counting resumes from its new value without adding
// it, since what it held before the restart is not this call's to know.
class VolumeCounter {
public:
    // A new call: nothing counted, no reading seen.
    void reset();
    // One reading; a failed one (nullopt) counts nothing and keeps the last.
    void add(const std::optional<dialup::ByteCounters> &reading);
    // Unknown until the first reading.
    CallVolume volume() const { return m_volume; }

private:
    struct Direction {
        std::uint64_t last = 0;
        qint64 total = 0;
        void add(std::uint64_t now);
    };
    Direction m_in;
    Direction m_out;
    bool m_seen = false;
    CallVolume m_volume;
};
