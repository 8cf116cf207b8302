#include "tools/report/ReportTool.h"

#include "core/datafolder/ProgramFolders.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

#include <cstdio>

// Prints reports over the call log of the program's data folder, for checking a phone
// bill, keeping records elsewhere, or comparing what the same calls would
// have cost under other tariffs. It only reads the data files, so it is safe
// to run while the program runs.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    ReportTool tool(
        locateProgramFolders(QCoreApplication::applicationFilePath()).dataFolder, QDate::currentDate(), out, err);
    return tool.run(QCoreApplication::arguments().mid(1));
}
