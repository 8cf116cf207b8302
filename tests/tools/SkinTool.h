#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// Runs tollwise-skin and collects what it says.
struct SkinToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

inline SkinToolRun runSkinTool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(TOLLWISE_SKIN_TOOL), arguments);
    process.waitForFinished(30000);
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
        QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError()) };
}
