#pragma once

#include "core/store/CallVolume.h"
#include "core/store/CurrentCall.h"
#include "core/store/Records.h"
#include "core/store/Settings.h"
#include "core/store/Tariff.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <span>

class AppCore;

// What the monitor works on: the tables and the current call it changes, the
// settings it reads, and what it asks of the owner of the files. The
// references stay valid as long as their owner lives.
struct MonitorParts {
    ProviderTable &providers;
    CallLogTable &log;
    CallVolumeTable &volumes; // in step with the log
    TariffTable &tariffs;
    CurrentCall &call;
    const Settings &settings;
    const QString &currencyText;
    // Calls moved out of the log; the providers' totals count them too.
    std::function<std::span<const CallRecord>()> archivedCalls;
    // Hands over records that leave the full log, with their volumes, to be written to the archive.
    std::function<void(const QByteArray &records, std::span<const CallVolume> volumes)> archiveLogRecords;
    // Whether handed-over records still wait for their write, and where they go.
    std::function<bool()> archivePending;
    std::function<QString()> archivePath;
    // A call just written into the log, with its tariff's id (0: none).
    std::function<void(const CallRecord &record, std::uint32_t tariffId)> noteLoggedCall;
    std::function<void()> saveEverything;
    std::function<void()> playConnectedSound;
};

// The monitor's parts of `core`.
[[nodiscard]] MonitorParts monitorParts(AppCore &core);
