#include "VirtualDisplay.h"

#include "ChildProcess.h"

#include <QDeadlineTimer>

VirtualDisplay::~VirtualDisplay()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000))
        m_server.kill();
    m_server.waitForFinished(5000);
}

QString VirtualDisplay::start()
{
    // The server picks a free display itself and writes its number to the
    // descriptor given, here its standard output.
    m_server.setProgram(QStringLiteral("Xvfb"));
    m_server.setArguments(
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("%1x%2x24").arg(kWidth).arg(kHeight), QStringLiteral("-nolisten"), QStringLiteral("tcp") });
    m_server.setProcessChannelMode(QProcess::SeparateChannels);
    endWithTestRun(m_server);
    m_server.start();
    if (!m_server.waitForStarted(10000))
        return QStringLiteral("Xvfb could not be started: %1").arg(m_server.errorString());
    QByteArray output;
    const QDeadlineTimer deadline(20000);
    while (!output.contains('\n')) {
        if (deadline.hasExpired() || m_server.state() == QProcess::NotRunning)
            return QStringLiteral("Xvfb gave no display number: %1")
                .arg(QString::fromLocal8Bit(m_server.readAllStandardError()));
        m_server.waitForReadyRead(200);
        output += m_server.readAllStandardOutput();
    }
    bool ok = false;
    const int number = output.trimmed().toInt(&ok);
    if (!ok)
        return QStringLiteral("Xvfb wrote an unexpected display number: %1").arg(QString::fromLatin1(output));
    m_name = QStringLiteral(":%1").arg(number);
    return {};
}
