#include "core/calllog/CallLogRows.h"

#include <algorithm>

QList<int> shownCalls(const CallLogTable &log, int filter)
{
    QList<int> rows;
    const int count = std::clamp<int>(log.Count, 0, kMaxLogRecords);
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const CallRecord &call = log.records[i];
        if (isLoggedCall(call) && (filter == kAllProviders || call.ProviderIndex == filter))
            rows.append(i);
    }
    return rows;
}
