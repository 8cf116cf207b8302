#include "core/spending/SpendingSummary.h"

#include "core/spending/BillProjection.h"
#include "core/spending/DataAllowance.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/volume/VolumePricing.h"

#include <QLocale>

#include <algorithm>

namespace {

// Data is priced by the plan, not in proportion: the month's data at its
// pace so far is priced as a whole, in place of the data cost scaled up.
void addDataAtPace(
    BillProjection &bill, const AppCore &core, int providerIndex, const BillingCycle &cycle, const QDate &today)
{
    const Provider &provider = core.providers().records[std::clamp(providerIndex, 0, kMaxProviders - 1)];
    const auto found = core.volumePlans().constFind(provider.Name.text());
    if (found == core.volumePlans().constEnd() || !found->priced())
        return;
    std::int64_t used = loggedCycleBytes(*found, providerIndex, cycle, today, core.log(), core.volumes().records,
        core.archivedCalls(), core.archivedVolumes());
    const CurrentCall &call = core.currentCall();
    if (call.Connected && call.CallProvider == providerIndex && cycle.contains(dateOfValue(call.CallStart)))
        used += countedBytes(*found, call.Volume.bytesIn, call.Volume.bytesOut);
    const int days = std::max(1, cycle.days());
    const int elapsed = std::clamp(int(cycle.start.daysTo(today)) + 1, 1, days);
    const MoneyValue dataSoFar = volumeCost(*found, 0, used);
    const auto usedAtEnd = std::int64_t(std::min<__int128>(__int128(used) * days / elapsed, VolumePlan::kMaxBytes));
    bill.projected = addMoney(bill.projected, volumeCost(*found, 0, usedAtEnd) - scaleMoney(dataSoFar, days, elapsed));
}

} // namespace

SpendingSummary spendingSummary(const AppCore &core, int providerIndex, const QDateTime &now)
{
    const int index = std::clamp(providerIndex, 0, kMaxProviders - 1);
    const BillingCycle cycle = billingCycleOn(now.date(), core.providers().records[index].MonthStartDay);
    return spendingSummary(core, index, cycle,
        cycleUsageOf(core.log(), index, cycle, core.currentCall(), now.date(), core.archivedCalls()), now.date());
}

SpendingSummary spendingSummary(
    const AppCore &core, int providerIndex, const BillingCycle &cycle, const CycleUsage &usage, const QDate &today)
{
    const Provider &provider = core.providers().records[std::clamp(providerIndex, 0, kMaxProviders - 1)];
    BillProjection bill = projectBill(provider, cycle, usage, today);
    addDataAtPace(bill, core, providerIndex, cycle, today);
    const QString &currency = core.currencyText();
    auto money = [&currency](MoneyValue amount) { return moneyText(amount, currency).trimmed(); };

    SpendingSummary summary;
    summary.cycle = QStringLiteral("Billing month from %1: %2 %3, %4, %5")
                        .arg(QLocale().toString(cycle.start, QStringLiteral("d MMM")))
                        .arg(usage.calls)
                        .arg(usage.calls == 1 ? QStringLiteral("call") : QStringLiteral("calls"))
                        .arg(LongDurationText(std::int32_t(std::min<std::uint64_t>(usage.seconds, INT32_MAX))),
                            money(usage.cost));
    summary.bill = QStringLiteral("%1 so far, %2 at this pace").arg(money(bill.total), money(bill.projected));
    summary.billHint = QStringLiteral(" Calls %1 + monthly fee %2 + extra hours %3; the month ends on %4")
                           .arg(money(bill.calls), money(bill.fee), money(bill.extraHours),
                               QLocale().toString(cycle.end.addDays(-1), QStringLiteral("d MMM")));
    return summary;
}
