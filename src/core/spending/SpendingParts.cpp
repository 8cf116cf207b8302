#include "core/spending/SpendingParts.h"

#include "core/app/AppCore.h"

SpendingParts spendingParts(AppCore &core)
{
    return {
        .providers = core.providers(),
        .log = core.log(),
        .tariffs = core.tariffs(),
        .call = core.currentCall(),
        .plan = core.spending(),
        .currencyText = core.currencyText(),
        .archivedCalls = [&core] { return core.archivedCalls(); },
        .saveSpending = [&core] { core.SaveSpending(); },
        .playWarningSound = [&core] { core.PlayAppSound(AppSound::Warning); },
    };
}
