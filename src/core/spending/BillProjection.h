#pragma once

#include "core/spending/BillingCycle.h"
#include "core/spending/CycleUsage.h"
#include "core/store/Records.h"

#include <QDate>

// The bill a provider's cycle is heading for; money in 1/10000.
struct BillProjection {
    MoneyValue calls = 0; // the cycle's calls so far
    MoneyValue fee = 0; // the monthly fee
    MoneyValue extraHours = 0; // whole hours beyond the monthly limit, at the charge per extra hour
    MoneyValue total = 0; // the three above
    MoneyValue projected = 0; // at the cycle's end, calls and hours going on at the pace so far
};

// `today` lies within `cycle`; the days up to and including it set the pace.
BillProjection projectBill(
    const Provider &provider, const BillingCycle &cycle, const CycleUsage &usage, const QDate &today);
