#pragma once

#include "core/store/CallVolume.h"
#include "core/store/Records.h"
#include "core/store/Tariff.h"
#include "core/store/VolumePlan.h"

#include <QString>

#include <expected>
#include <memory>
#include <vector>

// The tables of a program folder, read for reporting and never written: a
// damaged file is reported, not copied aside or repaired.
struct ReportTables {
    std::unique_ptr<ProviderTable> providers;
    std::unique_ptr<CallLogTable> log;
    std::unique_ptr<TariffTable> tariffs;
    QString currencyText; // the currency text in force, with its trailing blank
    std::vector<CallRecord> archived; // Log.archive.data, empty when there is none
    // The bytes of every call of allCalls(), archive first; unknown where the
    // volume files do not say (missing, damaged, or written before the call).
    std::vector<CallVolume> volumes;
};

struct ReportFileProblem {
    // DamagedRecord: the file has its size, but one of its records is impossible.
    enum class Kind { Missing, Damaged, Unreadable, DamagedRecord };
    Kind kind = Kind::Missing;
    QString path;
    int record = 0; // DamagedRecord: counted from 1
    QString fault; // DamagedRecord: what is wrong with it; Damaged: the same, when known
};

// Providers.data, Log.data, Tariffs.data and (when present) settings.data
// and Log.archive.data. Every record in use is checked: a report over
// impossible figures would be believed.
[[nodiscard]] std::expected<ReportTables, ReportFileProblem> loadReportTables(const QString &folder);
// Tariffs.data and the tariff count of settings.data alone, for re-pricing.
[[nodiscard]] std::expected<std::unique_ptr<TariffTable>, ReportFileProblem> loadReportTariffs(const QString &folder);
// The providers' data plans (volume.data), for re-pricing: none when the file
// is missing; a file with anything wrong in it would price data wrongly.
[[nodiscard]] std::expected<VolumePlans, ReportFileProblem> loadReportVolumePlans(const QString &folder);
