#include "core/skins/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include <array>

// tollwise-icons FOLDER APP_ID: draws the program's icon at the sizes the
// desktop's icon theme asks for, into FOLDER/hicolor/NxN/apps/APP_ID.png.
int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        err << "usage: tollwise-icons FOLDER APP_ID\n";
        return 2;
    }
    constexpr std::array kSizes = { 16, 22, 24, 32, 48, 64, 128, 256 };
    for (const int size : kSizes) {
        const QDir folder(QDir(arguments[1]).filePath(QStringLiteral("hicolor/%1x%1/apps").arg(size)));
        const QString path = folder.filePath(arguments[2] + QStringLiteral(".png"));
        if (!QDir().mkpath(folder.path()) || !drawAppIcon(size).save(path, "PNG")) {
            err << "tollwise-icons: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
