#include "NmMock.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kMockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kMainObject = QStringLiteral("/org/freedesktop");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
const QString kActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");

using SettingsMap = QMap<QString, QVariantMap>;

int g_connections = 0;

} // namespace

NmMock::NmMock()
    : m_connectionName(QStringLiteral("nm-mock-%1").arg(++g_connections))
{
    qDBusRegisterMetaType<SettingsMap>();
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!m_dir.isValid() || !file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("no temporary folder for the bus");
        return;
    }
    file.write(QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                              " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                              "<busconfig><type>custom</type><listen>unix:path=%1</listen>\n"
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
    if (!QDBusConnection::connectToBus(m_address, m_connectionName).isConnected()) {
        m_error = QStringLiteral("cannot connect to the private bus");
        return;
    }
    if (!start()) {
        QFile log(m_dir.filePath(QStringLiteral("mock.log")));
        m_error = QStringLiteral("the mock NetworkManager did not start: ")
            + QString::fromLocal8Bit(log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray());
    }
}

NmMock::~NmMock()
{
    pause(false);
    kill();
    QDBusConnection::disconnectFromBus(m_connectionName);
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(3000))
        m_daemon.kill();
    m_daemon.waitForFinished(3000);
}

QDBusConnection NmMock::bus() const { return QDBusConnection(m_connectionName); }

bool NmMock::start()
{
    if (!startNameOnly())
        return false;
    publishObjects();
    return true;
}

bool NmMock::startNameOnly()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    m_mock.setProcessEnvironment(environment);
    m_mock.setProcessChannelMode(QProcess::MergedChannels);
    // It logs every call: into a pipe nobody reads while a test waits on a
    // call, a few hundred calls would fill it and stop the mock.
    m_mock.setStandardOutputFile(m_dir.filePath(QStringLiteral("mock.log")), QIODevice::Append);
    // Debian's interpreter, which has the mock library, whatever else is on the path.
    m_mock.start(QStringLiteral("/usr/bin/python3"),
        { QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"), kService, kMainObject,
            kMockInterface });
    const QDBusConnection connection = bus();
    return m_mock.waitForStarted(5000)
        && waitUntil([&connection] { return connection.interface()->isServiceRegistered(kService).value(); }, 15000);
}

void NmMock::publishObjects()
{
    mockCall(kMainObject, QStringLiteral("AddTemplate"), { QStringLiteral("networkmanager"), QVariantMap() });
}

void NmMock::kill()
{
    if (m_mock.state() == QProcess::NotRunning)
        return;
    m_mock.kill();
    m_mock.waitForFinished(5000);
}

void NmMock::pause(bool paused)
{
    if (m_mock.state() != QProcess::NotRunning)
        ::kill(pid_t(m_mock.processId()), paused ? SIGSTOP : SIGCONT);
}

bool NmMock::waitUntil(const std::function<bool()> &done, int ms)
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

QVariant NmMock::mockCall(const QString &path, const QString &method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, path, kMockInterface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus().call(message, QDBus::Block, 5000);
    return reply.arguments().isEmpty() ? QVariant() : reply.arguments().constFirst();
}

void NmMock::emitSignal(const QString &path, const QString &interface, const QString &name, const QString &signature,
    const QVariantList &arguments)
{
    QVariantList wrapped;
    for (const QVariant &argument : arguments)
        wrapped.append(QVariant::fromValue(QDBusVariant(argument)));
    mockCall(path, QStringLiteral("EmitSignal"), { interface, name, signature, wrapped });
}

void NmMock::setProperty(const QString &path, const QString &interface, const QString &name, const QVariant &value)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        kService, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    message.setArguments({ interface, name, QVariant::fromValue(QDBusVariant(value)) });
    bus().call(message, QDBus::Block, 5000);
}

QString NmMock::addConnection(const QString &id, const QString &type, const QVariantMap &settings)
{
    SettingsMap groups;
    groups[QStringLiteral("connection")] = { { QStringLiteral("id"), id }, { QStringLiteral("type"), type } };
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        const QString group = it.key().section(QLatin1Char('.'), 0, 0);
        groups[group][it.key().section(QLatin1Char('.'), 1)] = it.value();
    }
    QDBusMessage message
        = QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/NetworkManager/Settings"),
            QStringLiteral("org.freedesktop.NetworkManager.Settings"), QStringLiteral("AddConnection"));
    message << QVariant::fromValue(groups);
    const QDBusMessage reply = bus().call(message, QDBus::Block, 5000);
    return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().value<QDBusObjectPath>().path();
}

QString NmMock::addDevice(const QString &name, uint state)
{
    return mockCall(kMainObject, QStringLiteral("AddEthernetDevice"), { name, name, int(state) }).toString();
}

QString NmMock::activate(const QString &connection, const QString &device, uint state, const QString &name)
{
    const QStringList devices = device.isEmpty() ? QStringList() : QStringList { device };
    return mockCall(
        kMainObject, QStringLiteral("AddActiveConnection"), { devices, connection, QStringLiteral("/"), name, state })
        .toString();
}

void NmMock::removeActive(const QString &device, const QString &active)
{
    mockCall(kMainObject, QStringLiteral("RemoveActiveConnection"), { device, active });
}

void NmMock::setDeviceState(const QString &device, uint state, uint reason)
{
    setProperty(device, kDeviceInterface, QStringLiteral("State"), state);
    // The daemon keeps the reason beside the state, not only in the signal.
    QDBusArgument stateReason;
    stateReason.beginStructure();
    stateReason << state << reason;
    stateReason.endStructure();
    setProperty(device, kDeviceInterface, QStringLiteral("StateReason"), QVariant::fromValue(stateReason));
    emitSignal(device, kDeviceInterface, QStringLiteral("StateChanged"), QStringLiteral("uuu"), { state, 0U, reason });
}

void NmMock::setActiveState(const QString &active, uint state, uint reason)
{
    setProperty(active, kActiveInterface, QStringLiteral("State"), state);
    emitSignal(active, kActiveInterface, QStringLiteral("StateChanged"), QStringLiteral("uu"), { state, reason });
}

void NmMock::activateStepByStep(const QString &device)
{
    // Added without a device, so the mock does not mark the device activated,
    // then given it.
    const QString code = QStringLiteral(
        "p = objects['/org/freedesktop'].AddActiveConnection([], args[0], '/', 'dial', dbus.UInt32(1))\n"
        "objects[p].Set('org.freedesktop.NetworkManager.Connection.Active', 'Devices',"
        " dbus.Array([dbus.ObjectPath('%1')], signature='o'))\n"
        "ret = dbus.ObjectPath(p)\n")
                             .arg(device);
    mockCall(QStringLiteral("/org/freedesktop/NetworkManager"), QStringLiteral("AddMethod"),
        { QStringLiteral("org.freedesktop.NetworkManager"), QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
            QStringLiteral("o"), code });
}

void NmMock::answerSlowly(const QString &method, double seconds)
{
    static const QMap<QString, QPair<QString, QString>> kSignatures = {
        { QStringLiteral("ActivateConnection"),
            { QStringLiteral("ooo"), QStringLiteral("ret = self.activate_connection(self, *args)") } },
        { QStringLiteral("DeactivateConnection"),
            { QStringLiteral("o"), QStringLiteral("self.deactivate_connection(self, args[0])") } },
    };
    const auto known = kSignatures.value(method);
    const QString code = QStringLiteral("import time\ntime.sleep(%1)\n%2\n").arg(seconds).arg(known.second);
    mockCall(kManagerPath, QStringLiteral("AddMethod"),
        { kService, method, known.first,
            method == QLatin1String("ActivateConnection") ? QStringLiteral("o") : QString(), code });
}

void NmMock::takeHangUpsOnly()
{
    mockCall(kManagerPath, QStringLiteral("AddMethod"),
        { kService, QStringLiteral("DeactivateConnection"), QStringLiteral("o"), QString(), QStringLiteral("pass\n") });
}

void NmMock::refuseByPolicy(const QString &method)
{
    refuse(method, QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"),
        QStringLiteral("Rejected send message, 1 matched rules; type=\"method_call\", sender=\":1.9\" "
                       "interface=\"org.freedesktop.NetworkManager\" member=\"%1\" error name=\"(unset)\" "
                       "requested_reply=\"0\" destination=\"org.freedesktop.NetworkManager\"")
            .arg(method));
}

void NmMock::refuse(const QString &method, const QString &errorName, const QString &text)
{
    const bool activates = method == QLatin1String("ActivateConnection");
    QString quoted = text;
    quoted.replace(u'\\', QStringLiteral("\\\\")).replace(u'\'', QStringLiteral("\\'"));
    const QString code
        = QStringLiteral("raise dbus.exceptions.DBusException('%1', name='%2')\n").arg(quoted, errorName);
    mockCall(kManagerPath, QStringLiteral("AddMethod"),
        { kService, method, activates ? QStringLiteral("ooo") : QStringLiteral("o"),
            activates ? QStringLiteral("o") : QString(), code });
}

void NmMock::sendPropertiesChanged(const QString &path, const QString &interface, const QVariantMap &changed)
{
    emitSignal(path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"),
        QStringLiteral("sa{sv}as"), { interface, changed, QStringList() });
}

void NmMock::sendStateChanged(const QString &path, const QString &interface, const QVariantList &arguments)
{
    emitSignal(path, interface, QStringLiteral("StateChanged"), QString(arguments.size(), u'u'), arguments);
}

void NmMock::setRawProperty(const QString &path, const QString &interface, const QString &name, const QVariant &value)
{
    setProperty(path, interface, name, value);
}
