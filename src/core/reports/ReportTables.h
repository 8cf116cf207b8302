#pragma once

#include "core/store/Records.h"
#include "core/store/Tariff.h"

#include <QString>

#include <expected>
#include <memory>

// The tables of a program folder, read for reporting and never written: a
// damaged file is reported, not copied aside or repaired.
struct ReportTables {
    std::unique_ptr<ProviderTable> providers;
    std::unique_ptr<CallLogTable> log;
    std::unique_ptr<TariffTable> tariffs;
    QString currencyText; // the currency text in force, with its trailing blank
};

struct ReportFileProblem {
    enum class Kind { Missing, Damaged, Unreadable };
    Kind kind = Kind::Missing;
    QString path;
};

// Providers.data, Log.data, Tariffs.data and (when present) settings.data.
[[nodiscard]] std::expected<ReportTables, ReportFileProblem> loadReportTables(const QString &folder);
// Tariffs.data and the tariff count of settings.data alone, for re-pricing.
[[nodiscard]] std::expected<std::unique_ptr<TariffTable>, ReportFileProblem> loadReportTariffs(const QString &folder);
