#include "core/spending/SpendingSummary.h"

#include "core/spending/BillProjection.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"

#include <QLocale>

#include <algorithm>

SpendingSummary spendingSummary(const ProviderTable &providers, const CallLogTable &log,
    std::span<const CallRecord> archived, const CurrentCall &call, const QString &currency, int providerIndex,
    const QDateTime &now)
{
    const int index = std::clamp(providerIndex, 0, kMaxProviders - 1);
    const Provider &provider = providers.records[index];
    const BillingCycle cycle = billingCycleOn(now.date(), provider.MonthStartDay);
    return spendingSummary(
        provider, cycle, cycleUsageOf(log, index, cycle, call, now.date(), archived), now.date(), currency);
}

SpendingSummary spendingSummary(const Provider &provider, const BillingCycle &cycle, const CycleUsage &usage,
    const QDate &today, const QString &currency)
{
    const BillProjection bill = projectBill(provider, cycle, usage, today);
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
