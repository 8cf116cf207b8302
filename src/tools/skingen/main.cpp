#include "tools/skingen/DefaultSkin.h"

#include <QGuiApplication>
#include <QTextStream>

// tollwise-skingen PROGRAM_FOLDER: draws the default skin into the folder.
int main(int argc, char *argv[])
{
    // The pictures need fonts, not a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() != 2) {
        err << "usage: tollwise-skingen PROGRAM_FOLDER\n";
        return 2;
    }
    const QString error = writeDefaultSkin(arguments[1]);
    if (!error.isEmpty()) {
        err << "tollwise-skingen: " << error << "\n";
        return 1;
    }
    return 0;
}
