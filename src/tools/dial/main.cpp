#include "tools/dial/DialArguments.h"
#include "tools/dial/DialTool.h"

#include "core/datafolder/ProgramFolders.h"
#include "platform/DialUpServices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

// Dials, lists and hangs up dial-up connections from the command line, as
// "another program" would, so that the main program can be tried and tested
// with calls it did not make itself. It works on the dial-up service of the
// program's data folder, the one the program beside it uses, or on the one
// --folder names.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto arguments = DialArguments::parse(QCoreApplication::arguments().mid(1));
    if (!arguments) {
        err << "tollwise-dial: " << arguments.error() << "\n\n" << DialArguments::usage() << Qt::flush;
        return DialTool::kBadArguments;
    }
    // The same service as the program's, chosen by the same setting; with no
    // window to show, the simulator's entries are only read.
    const ProgramFolders folders = locateProgramFolders(QCoreApplication::applicationFilePath());
    QString folder = folders.dataFolder;
    if (arguments->folder) {
        // A mistyped folder is refused rather than made and filled with a fresh state.
        folder = QDir(*arguments->folder).absolutePath();
        if (!QFileInfo(folder).isDir()) {
            err << "tollwise-dial: no folder " << QDir::toNativeSeparators(folder) << "\n" << Qt::flush;
            return DialTool::kBadArguments;
        }
    } else if (const auto made = makeDataFolder(folders); !made) {
        // The simulated service keeps its phonebook and state there.
        err << "tollwise-dial: " << made.error() << "\n" << Qt::flush;
    }
    const ChosenDialUpService service = chooseDialUpService(folder, storedDialUpServiceChoice(folder), {});
    DialTool tool(*service.service, out, err);
    return tool.run(*arguments);
}
