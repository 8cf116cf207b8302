#include "core/connection/MonitorParts.h"

#include "core/app/AppCore.h"
#include "core/connection/CallLogging.h"

static_assert(kArchiveBatch == AppCore::kArchiveBatchRecords);

MonitorParts monitorParts(AppCore &core)
{
    return {
        .providers = core.providers(),
        .log = core.log(),
        .volumes = core.volumes(),
        .tariffs = core.tariffs(),
        .call = core.currentCall(),
        .settings = core.settings(),
        .currencyText = core.currencyText(),
        .archivedCalls = [&core] { return core.archivedCalls(); },
        .archiveLogRecords = [&core](const QByteArray &records,
                                 std::span<const CallVolume> volumes) { core.archiveLogRecords(records, volumes); },
        .archivePending = [&core] { return core.archivePending(); },
        .archivePath = [&core] { return core.archivePath(); },
        .noteLoggedCall
        = [&core](const CallRecord &record, std::uint32_t tariffId) { core.noteLoggedCall(record, tariffId); },
        .saveEverything = [&core] { core.saveEverything(); },
        .playConnectedSound = [&core] { core.PlayAppSound(AppSound::Connected); },
    };
}
