#pragma once

#include "core/store/Records.h"

#include <QtGlobal>

// The bytes a call received and sent; -1 where they were never counted (a
// call logged before counting began, a line whose service gives no counters).
struct CallVolume {
    qint64 bytesIn = -1;
    qint64 bytesOut = -1;

    bool known() const { return bytesIn >= 0 && bytesOut >= 0; }
    // Both directions; -1 when unknown.
    qint64 total() const { return known() ? bytesIn + bytesOut : -1; }
    bool operator==(const CallVolume &) const = default;
};

// The volume of every slot of the call log, slot for slot.
struct CallVolumeTable {
    CallVolume records[kMaxLogRecords];
};
