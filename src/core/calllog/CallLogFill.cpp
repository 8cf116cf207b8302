#include "core/calllog/CallLogFill.h"

#include "core/calllog/CallLogRows.h"
#include "core/calllog/ProviderTotals.h"

CallLogFill rebuildCallLog(ProviderTable &providers, const CallLogTable &log, int filter, const QDate &today)
{
    UpdateProviderTotals(providers, log, today);
    CallLogFill fill;
    fill.rows = shownCalls(log, filter);
    fill.statistics = callStatistics(log, fill.rows, today);
    return fill;
}
