#include "core/spending/BillingCycle.h"

namespace {

QDate cycleStartIn(int year, int month, int startDay)
{
    const QDate first(year, month, 1);
    return QDate(year, month, std::min(startDay, first.daysInMonth()));
}

} // namespace

BillingCycle billingCycleOn(const QDate &day, int monthStartDay)
{
    const int startDay = monthStartDay >= 1 && monthStartDay <= 31 ? monthStartDay : 1;
    QDate start = cycleStartIn(day.year(), day.month(), startDay);
    if (start > day) {
        const QDate previous = QDate(day.year(), day.month(), 1).addMonths(-1);
        start = cycleStartIn(previous.year(), previous.month(), startDay);
    }
    const QDate next = QDate(start.year(), start.month(), 1).addMonths(1);
    return { start, cycleStartIn(next.year(), next.month(), startDay) };
}
