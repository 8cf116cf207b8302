#pragma once

#include "tools/report/ReportArguments.h"

#include "core/reports/ReportTables.h"

#include <QDate>
#include <QString>
#include <QTextStream>

// Carries out a report over a program folder: the report on `out`, what went
// wrong on `err`. Never writes to the folder.
class ReportTool {
public:
    // A data file missing, damaged or unreadable, or the report not written whole.
    static constexpr int kFileProblem = 1;
    static constexpr int kBadArguments = 2;

    // `defaultFolder` stands in for --folder; `today` places two-digit years.
    ReportTool(QString defaultFolder, QDate today, QTextStream &out, QTextStream &err);

    // The process's exit status for the command line's arguments (program name left out).
    [[nodiscard]] int run(const QStringList &arguments);

private:
    int report(const ReportArguments &arguments);
    int fileProblem(const ReportFileProblem &problem);
    // The exit status once the report is out: flushed and checked.
    int written();

    QString m_defaultFolder;
    QDate m_today;
    QTextStream &m_out;
    QTextStream &m_err;
};
