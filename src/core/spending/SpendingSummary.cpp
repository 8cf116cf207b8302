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
    BillProjection &bill, const SpendingParts &parts, int providerIndex, const BillingCycle &cycle, const QDate &today)
{
    const Provider &provider = parts.providers.records[std::clamp(providerIndex, 0, kMaxProviders - 1)];
    const auto found = parts.volumePlans.constFind(provider.Name.text());
    if (found == parts.volumePlans.constEnd() || !found->priced())
        return;
    std::int64_t used = loggedCycleBytes(*found, providerIndex, cycle, today, parts.log, parts.volumes.records,
        parts.archivedCalls(), parts.archivedVolumes());
    const CurrentCall &call = parts.call;
    if (call.Connected && call.CallProvider == providerIndex && cycle.contains(dateOfValue(call.CallStart)))
        used += countedBytes(*found, call.Volume.bytesIn, call.Volume.bytesOut);
    const int days = std::max(1, cycle.days());
    const int elapsed = std::clamp(int(cycle.start.daysTo(today)) + 1, 1, days);
    const MoneyValue dataSoFar = volumeCost(*found, 0, used);
    const auto usedAtEnd = std::int64_t(std::min<__int128>(__int128(used) * days / elapsed, VolumePlan::kMaxBytes));
    bill.projected = addMoney(bill.projected, volumeCost(*found, 0, usedAtEnd) - scaleMoney(dataSoFar, days, elapsed));
}

} // namespace

SpendingSummary spendingSummary(const SpendingParts &parts, int providerIndex, const QDateTime &now)
{
    const int index = std::clamp(providerIndex, 0, kMaxProviders - 1);
    const BillingCycle cycle = billingCycleOn(now.date(), parts.providers.records[index].MonthStartDay);
    return spendingSummary(parts, index, cycle,
        cycleUsageOf(parts.log, index, cycle, parts.call, now.date(), parts.archivedCalls()), now.date());
}

SpendingSummary spendingSummary(const SpendingParts &parts, int providerIndex, const BillingCycle &cycle,
    const CycleUsage &usage, const QDate &today)
{
    const Provider &provider = parts.providers.records[std::clamp(providerIndex, 0, kMaxProviders - 1)];
    BillProjection bill = projectBill(provider, cycle, usage, today);
    addDataAtPace(bill, parts, providerIndex, cycle, today);
    const QString &currency = parts.currencyText;
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
