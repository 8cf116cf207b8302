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
        .volumePlans = core.volumePlans(),
        .volumes = core.volumes(),
        .currencyText = core.currencyText(),
        .archivedCalls = [&core] { return core.archivedCalls(); },
        .archivedVolumes = [&core] { return core.archivedVolumes(); },
        .logChanges = [&core] { return core.logChanges(); },
        .saveSpending = [&core] { core.SaveSpending(); },
        .saveVolumePlans = [&core] { core.SaveVolumePlans(); },
        .playWarningSound = [&core] { core.PlayAppSound(AppSound::Warning); },
    };
}
