#pragma once

#include "core/spending/BillingCycle.h"
#include "core/spending/CycleUsage.h"
#include "core/spending/SpendingParts.h"

#include <QDateTime>
#include <QString>

// The provider's billing month and its bill, as the windows word them.
struct SpendingSummary {
    QString cycle; // "Billing month from 15 Mar: 3 calls, 0001:02:03, £ 1.50"
    QString bill; // "£ 6.50 so far, £ 12.00 at this pace"
    QString billHint; // what the bill so far is made of
};

// For the provider at `providerIndex` at `now`, counting the archived calls
// and the running call.
SpendingSummary spendingSummary(const SpendingParts &parts, int providerIndex, const QDateTime &now);
// The same from the provider's cycle and usage already counted, so that a
// caller needing both reads the log once.
SpendingSummary spendingSummary(const SpendingParts &parts, int providerIndex, const BillingCycle &cycle,
    const CycleUsage &usage, const QDate &today);
