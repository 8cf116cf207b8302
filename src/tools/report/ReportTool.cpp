#include "tools/report/ReportTool.h"

#include "core/reports/ReportTables.h"

#include <QDir>

#include <utility>

ReportTool::ReportTool(QString defaultFolder, QDate today, QTextStream &out, QTextStream &err)
    : m_defaultFolder(std::move(defaultFolder))
    , m_today(today)
    , m_out(out)
    , m_err(err)
{
}

int ReportTool::fileProblem(const ReportFileProblem &problem)
{
    const QString path = QDir::toNativeSeparators(problem.path);
    switch (problem.kind) {
    case ReportFileProblem::Kind::Missing:
        m_err << "tollwise-report: " << path << " is missing.\n";
        break;
    case ReportFileProblem::Kind::Damaged:
        if (!problem.fault.isEmpty())
            m_err << "tollwise-report: " << path << " is damaged: " << problem.fault << "\n";
        else
            m_err << "tollwise-report: " << path << " is damaged: it is not a file this program wrote.\n";
        break;
    case ReportFileProblem::Kind::Unreadable:
        m_err << "tollwise-report: " << path << " cannot be read.\n";
        break;
    case ReportFileProblem::Kind::DamagedRecord:
        m_err << "tollwise-report: " << path << " is damaged: record " << problem.record << ": " << problem.fault
              << ".\n";
        break;
    }
    m_err.flush();
    return kFileProblem;
}

int ReportTool::run(const QStringList &arguments)
{
    const auto parsed = ReportArguments::parse(arguments);
    if (!parsed) {
        m_err << "tollwise-report: " << parsed.error() << "\n\n" << ReportArguments::usage() << Qt::flush;
        return kBadArguments;
    }
    return report(*parsed);
}

int ReportTool::report(const ReportArguments &arguments)
{
    if (arguments.help) {
        m_out << ReportArguments::usage() << "\nData folder in use: " << QDir::toNativeSeparators(m_defaultFolder)
              << "\n";
        return written();
    }
    const auto tables = loadReportTables(arguments.folder.value_or(m_defaultFolder));
    if (!tables)
        return fileProblem(tables.error());
    std::unique_ptr<TariffTable> reprice;
    VolumePlans plans;
    if (arguments.repriceFolder) {
        auto loaded = loadReportTariffs(*arguments.repriceFolder);
        if (!loaded)
            return fileProblem(loaded.error());
        reprice = std::move(*loaded);
        // Data is priced under each provider's plan as it stands now: plans
        // belong to providers by name, and those are the reported folder's.
        auto loadedPlans = loadReportVolumePlans(arguments.folder.value_or(m_defaultFolder));
        if (!loadedPlans)
            return fileProblem(loadedPlans.error());
        plans = std::move(*loadedPlans);
    }

    const ReportFilter &filter = arguments.filter;
    if (filter.provider) {
        const ProviderTable &providers = *tables->providers;
        bool known = false;
        for (int i = 0; i < providers.Count && !known; ++i)
            known = providers.records[i].Name.text() == *filter.provider;
        if (!known) {
            // A mistyped name would otherwise read as a provider without calls.
            m_err << "tollwise-report: no provider is named \"" << *filter.provider << "\".\n" << Qt::flush;
            return kBadArguments;
        }
    }

    // Calls moved to the archive are as much a part of the record as the log's.
    const std::vector<CallRecord> all = allCalls(tables->archived, *tables->log);
    const QList<int> indices = filteredCalls(all, *tables->providers, filter, m_today);
    const QList<ReportCall> calls = reportCalls(
        all, *tables->providers, *tables->tariffs, indices, m_today, reprice.get(), tables->volumes, &plans);
    const bool repriced = reprice != nullptr;
    using Report = ReportArguments::Report;
    if (arguments.report == Report::Calls) {
        m_out << formatCalls(calls, arguments.format, repriced, tables->currencyText);
    } else {
        const ReportGrouping grouping = arguments.report == Report::Days ? ReportGrouping::Days
            : arguments.report == Report::Months                         ? ReportGrouping::Months
            : arguments.report == Report::Providers                      ? ReportGrouping::Providers
                                                                         : ReportGrouping::Tariffs;
        const bool bars = grouping == ReportGrouping::Days || grouping == ReportGrouping::Months;
        m_out << formatSummary(summarizeCalls(calls, grouping), arguments.format, repriced, bars, tables->currencyText);
    }
    return written();
}

int ReportTool::written()
{
    // A report cut short by a full disk or a closed pipe must not pass for a whole one.
    m_out.flush();
    if (m_out.status() == QTextStream::Ok)
        return 0;
    const QString reason = m_out.device() && !m_out.device()->errorString().isEmpty()
        ? m_out.device()->errorString()
        : QStringLiteral("the output refused it");
    m_err << "tollwise-report: the report could not be written: " << reason << "\n" << Qt::flush;
    return kFileProblem;
}
