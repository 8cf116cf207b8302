#include "core/calllog/CallLogFill.h"

#include "core/calllog/CallLogRows.h"
#include "core/calllog/ProviderTotals.h"

#include <algorithm>

CallLogFill rebuildCallLog(ProviderTable &providers, const CallLogTable &log, int filter, const QDate &today,
    std::span<const CallRecord> archived)
{
    // One check of each call serves the totals and the rows.
    const QList<int> logged = shownCalls(log, kAllProviders);
    UpdateProviderTotals(providers, log, logged, today, archived);
    CallLogFill fill;
    if (filter == kAllProviders) {
        fill.rows = logged;
    } else {
        for (const int i : logged)
            if (log.records[i].ProviderIndex == filter)
                fill.rows.append(i);
    }
    fill.statistics = callStatistics(log, fill.rows, today);
    fill.archivedCalls = int(std::count_if(archived.begin(), archived.end(), [filter](const CallRecord &call) {
        return isLoggedCall(call) && (filter == kAllProviders || call.ProviderIndex == filter);
    }));
    return fill;
}
