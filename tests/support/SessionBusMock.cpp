#include "SessionBusMock.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

namespace {

const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
int g_connections = 0;

} // namespace

SessionBusMock::SessionBusMock()
    : m_connectionName(QStringLiteral("session-mock-%1").arg(++g_connections))
{
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!m_dir.isValid() || !file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("no temporary folder for the bus");
        return;
    }
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                              "<busconfig><type>session</type><listen>unix:path=%1</listen>\n"
                              "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                   .arg(m_dir.filePath(QStringLiteral("bus")))
                   .toUtf8());
    file.close();
    m_daemon.start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"), QStringLiteral("--print-address=1") });
    if (!m_daemon.waitForStarted(5000)
        || !waitUntil([this] { return m_daemon.canReadLine() || m_daemon.state() == QProcess::NotRunning; })
        || !m_daemon.canReadLine()) {
        m_error = QStringLiteral("dbus-daemon did not start");
        return;
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (!QDBusConnection::connectToBus(m_address, m_connectionName).isConnected())
        m_error = QStringLiteral("cannot connect to the private bus");
}

SessionBusMock::~SessionBusMock()
{
    stopMock();
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(3000))
        m_daemon.kill();
    m_daemon.waitForFinished(3000);
}

QDBusConnection SessionBusMock::bus() const { return QDBusConnection(m_connectionName); }

bool SessionBusMock::startMock(const QStringList &arguments, const QString &service)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    m_mock.setProcessEnvironment(environment);
    m_mock.setProcessChannelMode(QProcess::MergedChannels);
    // Debian's interpreter, which has the mock library, whatever else is on the path.
    m_mock.start(QStringLiteral("/usr/bin/python3"),
        QStringList { QStringLiteral("-m"), QStringLiteral("dbusmock") } + arguments);
    const QDBusConnection connection = bus();
    return m_mock.waitForStarted(5000)
        && waitUntil(
            [&connection, &service] { return connection.interface()->isServiceRegistered(service).value(); }, 15000);
}

void SessionBusMock::stopMock()
{
    if (m_mock.state() == QProcess::NotRunning)
        return;
    m_mock.kill();
    m_mock.waitForFinished(5000);
}

QVariant SessionBusMock::mockCall(
    const QString &service, const QString &path, const QString &method, const QVariantList &arguments) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, kMockInterface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus().call(message, QDBus::Block, 5000);
    return reply.arguments().isEmpty() ? QVariant() : reply.arguments().constFirst();
}

QList<SessionBusMock::Call> SessionBusMock::calls(const QString &service, const QString &path) const
{
    QList<Call> result;
    const QVariant answer = mockCall(service, path, QStringLiteral("GetCalls"), {});
    const QDBusArgument list = answer.value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        Call call;
        qulonglong time = 0;
        list.beginStructure();
        list >> time >> call.method >> call.arguments;
        list.endStructure();
        result.append(call);
    }
    list.endArray();
    return result;
}

bool SessionBusMock::waitUntil(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}
