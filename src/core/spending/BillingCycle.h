#pragma once

#include <QDate>

// A provider's billing month: from its start day up to the day before the
// next one.
struct BillingCycle {
    QDate start; // first day of the cycle
    QDate end; // first day of the next cycle (not part of this one)

    [[nodiscard]] int days() const { return int(start.daysTo(end)); }
    [[nodiscard]] bool contains(const QDate &day) const { return day >= start && day < end; }
};

// The cycle that holds `day` for a month starting on `monthStartDay`: a day
// past the end of a shorter month is that month's last day; 0 or anything
// above 31 is the 1st.
BillingCycle billingCycleOn(const QDate &day, int monthStartDay);
