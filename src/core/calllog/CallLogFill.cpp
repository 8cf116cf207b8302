#include "core/calllog/CallLogFill.h"

#include "core/calllog/CallLogRows.h"
#include "core/calllog/ProviderTotals.h"

#include <algorithm>

CallLogFill rebuildCallLog(ProviderTable &providers, const CallLogTable &log, int filter, const QDate &today,
    std::span<const CallRecord> archived)
{
    UpdateProviderTotals(providers, log, today, archived);
    CallLogFill fill;
    fill.rows = shownCalls(log, filter);
    fill.statistics = callStatistics(log, fill.rows, today);
    fill.archivedCalls = int(std::count_if(archived.begin(), archived.end(), [filter](const CallRecord &call) {
        return isLoggedCall(call) && (filter == kAllProviders || call.ProviderIndex == filter);
    }));
    return fill;
}
