#include "tools/report/FileDescriptorOutput.h"
#include "tools/report/ReportTool.h"

#include "core/datafolder/ProgramFolders.h"

#include <QCoreApplication>
#include <QDate>
#include <QTextStream>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#endif
#include <unistd.h>

// Prints reports over the call log of the program's data folder, for checking a phone
// bill, keeping records elsewhere, or comparing what the same calls would
// have cost under other tariffs. It only reads the data files, so it is safe
// to run while the program runs.
int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // With standard output closed, the first file opened would take its
    // place; and a report nobody can receive is a failure, not a success.
    if (fcntl(STDOUT_FILENO, F_GETFD) == -1) {
        std::fputs("tollwise-report: standard output is closed; the report cannot be written.\n", stderr);
        return ReportTool::kFileProblem;
    }
#endif
    QCoreApplication application(argc, argv);
    // Every failed write shows in the stream's status, with its reason.
    FileDescriptorOutput standardOutput(STDOUT_FILENO);
    standardOutput.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    QTextStream out(&standardOutput);
    QTextStream err(stderr);
    out.setEncoding(QStringConverter::Utf8);
    err.setEncoding(QStringConverter::Utf8);
    ReportTool tool(
        locateProgramFolders(QCoreApplication::applicationFilePath()).dataFolder, QDate::currentDate(), out, err);
    return tool.run(QCoreApplication::arguments().mid(1));
}
