#include "core/spending/BillProjection.h"

#include "core/store/Money.h"

#include <algorithm>

namespace {

// Whole hours beyond the limit, as the account's charges to date count them.
MoneyValue extraHoursCharge(const Provider &provider, std::uint64_t seconds)
{
    if (provider.MonthlyHourLimit == 0)
        return 0;
    const std::uint64_t hours = seconds / 3600;
    if (hours <= provider.MonthlyHourLimit)
        return 0;
    return scaleMoney(provider.ExtraPerHour, std::int64_t(hours - provider.MonthlyHourLimit), 1);
}

} // namespace

BillProjection projectBill(
    const Provider &provider, const BillingCycle &cycle, const CycleUsage &usage, const QDate &today)
{
    BillProjection bill;
    bill.calls = usage.cost;
    bill.fee = provider.MonthlyFee;
    bill.extraHours = extraHoursCharge(provider, usage.seconds);
    bill.total = addMoney(addMoney(bill.calls, bill.fee), bill.extraHours);

    const int days = std::max(1, cycle.days());
    const int elapsed = std::clamp(int(cycle.start.daysTo(today)) + 1, 1, days);
    CycleUsage atEnd = usage;
    atEnd.cost = scaleMoney(usage.cost, days, elapsed);
    atEnd.seconds = usage.seconds * std::uint64_t(days) / std::uint64_t(elapsed);
    bill.projected = addMoney(addMoney(atEnd.cost, bill.fee), extraHoursCharge(provider, atEnd.seconds));
    return bill;
}
