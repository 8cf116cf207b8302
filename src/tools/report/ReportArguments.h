#pragma once

#include "core/reports/CallReport.h"
#include "core/reports/ReportFormat.h"

#include <QString>
#include <QStringList>

#include <expected>
#include <optional>

// What the report tool was asked for, read from its command line:
//   [--folder DIR] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--provider NAME]
//   [--format text|csv|json] [--reprice DIR] [calls|days|months|providers|tariffs]
struct ReportArguments {
    enum class Report { Calls, Days, Months, Providers, Tariffs };

    Report report = Report::Calls;
    ReportFormat format = ReportFormat::Text;
    std::optional<QString> folder; // the tool's own folder when absent
    std::optional<QString> repriceFolder;
    ReportFilter filter;
    bool help = false;

    // What is wrong with the arguments when they ask for nothing sensible.
    [[nodiscard]] static std::expected<ReportArguments, QString> parse(const QStringList &arguments);

    static QString usage();
};
