#include "core/app/AppCore.h"
#include "core/connection/CallMonitor.h"
#include "core/connection/Dialler.h"
#include "platform/networkmanager/NmDialUpService.h"

#include "core/tariffs/TariffTestData.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"
#include "support/NmMock.h"

#include <QDBusConnection>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <unistd.h>

// The program's monitor and dialling against the real NetworkManager daemon.
// Everything runs apart from the machine: a private message bus stands in for
// the system bus, and the daemon runs in a network namespace of its own with
// a veth pair, in a mount namespace where /sys is read-only (so it manages
// the veth devices without udev) and its run and state folders are ours. Its
// one connection has no addresses at all, so nothing leaves the namespace.
namespace {

const QString kLine = QStringLiteral("Metered Line");
constexpr std::int64_t kPerSecond = 200; // 0.02 a second
constexpr std::int64_t kPerCall = 500; // 0.05 for each call

QString run(const QString &program, const QStringList &arguments, const QString &busAddress = {}, int *status = nullptr)
{
    QProcess process;
    if (!busAddress.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), busAddress);
        process.setProcessEnvironment(environment);
    }
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(2000);
    }
    if (status)
        *status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

bool writeFile(const QString &path, const QString &text, QFileDevice::Permissions permissions = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        return false;
    file.close();
    return permissions == QFileDevice::Permissions() || file.setPermissions(permissions);
}

// The bus, the namespace and the daemon; all of it goes when this does,
// however the test ended.
class RealNetworkManager {
public:
    RealNetworkManager()
        : m_namespace(QStringLiteral("tollwise-realnm-%1").arg(::getpid()))
    {
        if (::geteuid() != 0) {
            m_skip = QStringLiteral("needs root to make a network namespace");
            return;
        }
        for (const char *tool : { "ip", "unshare", "dbus-daemon", "NetworkManager", "nmcli" }) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()
                && QStandardPaths::findExecutable(QString::fromLatin1(tool), { QStringLiteral("/usr/sbin") })
                       .isEmpty()) {
                m_skip = QStringLiteral("%1 is not installed (scripts/install-deps.sh test installs it)").arg(tool);
                return;
            }
        }
        if (!m_dir.isValid() || !QDir(m_dir.path()).mkpath(QStringLiteral("conns"))
            || !QDir(m_dir.path()).mkpath(QStringLiteral("run")) || !QDir(m_dir.path()).mkpath(QStringLiteral("lib"))
            || !QDir(m_dir.path()).mkpath(QStringLiteral("conf.d"))) {
            m_error = QStringLiteral("no temporary folder");
            return;
        }
        int status = 0;
        const QString made
            = run(QStringLiteral("ip"), { QStringLiteral("netns"), QStringLiteral("add"), m_namespace }, {}, &status);
        if (status != 0) {
            m_skip = QStringLiteral("cannot make a network namespace: ") + made.trimmed();
            return;
        }
        m_madeNamespace = true;
        run(QStringLiteral("ip"),
            { QStringLiteral("-n"), m_namespace, QStringLiteral("link"), QStringLiteral("add"),
                QStringLiteral("nmveth0"), QStringLiteral("type"), QStringLiteral("veth"), QStringLiteral("peer"),
                QStringLiteral("name"), QStringLiteral("nmveth1") },
            {}, &status);
        if (status != 0) {
            m_skip = QStringLiteral("cannot make a veth pair in a network namespace");
            return;
        }
        run(QStringLiteral("ip"),
            { QStringLiteral("-n"), m_namespace, QStringLiteral("link"), QStringLiteral("set"),
                QStringLiteral("nmveth1"), QStringLiteral("up") });
        if (!startBus() || !writeConfig())
            return;
    }

    ~RealNetworkManager()
    {
        stop();
        if (m_bus.state() != QProcess::NotRunning) {
            m_bus.kill();
            m_bus.waitForFinished(3000);
        }
        QDBusConnection::disconnectFromBus(m_connectionName);
        if (m_madeNamespace)
            run(QStringLiteral("ip"), { QStringLiteral("netns"), QStringLiteral("delete"), m_namespace });
    }
    RealNetworkManager(const RealNetworkManager &) = delete;
    RealNetworkManager &operator=(const RealNetworkManager &) = delete;

    QString skip() const { return m_skip; }
    QString error() const { return m_error; }
    QString address() const { return m_address; }
    QDBusConnection bus() const { return QDBusConnection(m_connectionName); }

    // The daemon, in its own mount namespace with /sys read-only and our
    // folders in place of its run and state folders (kept over restarts, as
    // the machine's would be).
    bool start()
    {
        const QString dir = m_dir.path();
        const QString script
            = QStringLiteral("mount --make-rprivate / && mount -o remount,ro /sys && mount -t tmpfs tmpfs /run"
                             " && mkdir -p /run/NetworkManager && mount --bind '%1/run' /run/NetworkManager"
                             " && mount --bind '%1/lib' /var/lib/NetworkManager"
                             " && exec NetworkManager --no-daemon --config='%1/nm.conf' --config-dir='%1/conf.d'"
                             " --intern-config='%1/intern.conf' --state-file='%1/nm.state'")
                  .arg(dir);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
        m_daemon.setProcessEnvironment(environment);
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        m_daemon.setStandardOutputFile(QDir(dir).filePath(QStringLiteral("daemon.log")), QIODevice::Append);
        // A group of its own, so that it and anything it starts go together.
        m_daemon.setChildProcessModifier([] { ::setsid(); });
        m_daemon.start(QStringLiteral("ip"),
            { QStringLiteral("netns"), QStringLiteral("exec"), m_namespace, QStringLiteral("unshare"),
                QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script });
        if (!m_daemon.waitForStarted(5000))
            return false;
        // Ready when it lists our connection and manages the device.
        return NmMock::waitUntil(
            [this] {
                const QString devices = nmcli({ QStringLiteral("-t"), QStringLiteral("-f"),
                    QStringLiteral("DEVICE,STATE"), QStringLiteral("device") });
                return devices.contains(QStringLiteral("nmveth0:"))
                    && !devices.contains(QStringLiteral("nmveth0:unmanaged"))
                    && !devices.contains(QStringLiteral("nmveth0:unavailable"))
                    && nmcli({ QStringLiteral("-t"), QStringLiteral("-f"), QStringLiteral("NAME"),
                                 QStringLiteral("connection") })
                           .contains(kLine);
            },
            20000);
    }

    void stop()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        const pid_t group = pid_t(m_daemon.processId());
        ::kill(-group, SIGTERM);
        if (!m_daemon.waitForFinished(10000)) {
            ::kill(-group, SIGKILL);
            m_daemon.waitForFinished(3000);
        }
    }

    QString nmcli(const QStringList &arguments, int *status = nullptr) const
    {
        return run(QStringLiteral("nmcli"), arguments, m_address, status);
    }
    bool lineActive() const
    {
        return nmcli({ QStringLiteral("-t"), QStringLiteral("-f"), QStringLiteral("NAME,STATE"),
                         QStringLiteral("connection"), QStringLiteral("show"), QStringLiteral("--active") })
            .contains(kLine + QStringLiteral(":activated"));
    }

    QString log() const
    {
        QFile file(QDir(m_dir.path()).filePath(QStringLiteral("daemon.log")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(3000)) : QString();
    }

private:
    bool startBus()
    {
        const QString config = QDir(m_dir.path()).filePath(QStringLiteral("bus.conf"));
        if (!writeFile(config,
                QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                               "<busconfig><type>system</type><listen>unix:path=%1</listen>\n"
                               "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                               "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n")
                    .arg(QDir(m_dir.path()).filePath(QStringLiteral("bus"))))) {
            m_error = QStringLiteral("cannot write the bus configuration");
            return false;
        }
        m_bus.start(QStringLiteral("dbus-daemon"),
            { QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                QStringLiteral("--print-address=1") });
        if (!m_bus.waitForStarted(5000)
            || !NmMock::waitUntil([this] { return m_bus.canReadLine() || m_bus.state() == QProcess::NotRunning; })
            || !m_bus.canReadLine()) {
            m_error = QStringLiteral("dbus-daemon did not start");
            return false;
        }
        m_address = QString::fromUtf8(m_bus.readLine()).trimmed();
        if (!QDBusConnection::connectToBus(m_address, m_connectionName).isConnected()) {
            m_error = QStringLiteral("cannot connect to the private bus");
            return false;
        }
        return true;
    }

    bool writeConfig()
    {
        const QDir dir(m_dir.path());
        // No DNS, no DHCP, no hostname: the daemon keeps to the namespace.
        const bool written = writeFile(dir.filePath(QStringLiteral("nm.conf")),
                                 QStringLiteral("[main]\nplugins=keyfile\nauth-polkit=false\ndns=none\n"
                                                "rc-manager=unmanaged\nhostname-mode=none\nno-auto-default=*\n"
                                                "[keyfile]\npath=%1\n[logging]\nlevel=INFO\n")
                                     .arg(dir.filePath(QStringLiteral("conns"))))
            && writeFile(dir.filePath(QStringLiteral("conns/metered.nmconnection")),
                QStringLiteral("[connection]\nid=%1\nuuid=6f0c1d7e-1b1a-4c55-9d4f-3d2a1c9b7e01\ntype=ethernet\n"
                               "interface-name=nmveth0\nautoconnect=false\nmetered=1\n"
                               "[ipv4]\nmethod=disabled\n[ipv6]\nmethod=disabled\n")
                    .arg(kLine),
                QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!written)
            m_error = QStringLiteral("cannot write the daemon's configuration");
        return written;
    }

    QTemporaryDir m_dir;
    QString m_namespace;
    QString m_connectionName = QStringLiteral("tollwise-realnm");
    QProcess m_bus;
    QProcess m_daemon;
    QString m_address;
    QString m_skip;
    QString m_error;
    bool m_madeNamespace = false;
};

class RealNetworkManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!nm.skip().isEmpty())
            GTEST_SKIP() << nm.skip().toStdString();
        ASSERT_TRUE(nm.error().isEmpty()) << nm.error().toStdString();
        core->loadAll();
        tariffdata::fill(core->tariffs(), { tariffdata::rate(2, 1, kPerSecond, kPerCall) });
    }

    void startDaemon() { ASSERT_TRUE(nm.start()) << nm.log().toStdString(); }

    void startProgram()
    {
        service = std::make_unique<NmDialUpService>(nm.bus());
        monitor = std::make_unique<CallMonitor>(monitorParts(*core), *service, clock);
        dialler = std::make_unique<Dialler>(core->currentCall(), *monitor, *service);
        QObject::connect(dialler.get(), &Dialler::errorReported, [this](const QString &text) { errors.append(text); });
        service->waitUntilReady(3000);
        monitor->startUp();
    }

    // A second later the timer fires; the daemon's news so far is in.
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            NmMock::waitUntil([] { return false; }, 100);
            clock.advanceSeconds(1);
            monitor->tick();
        }
    }
    int tickUntil(const std::function<bool()> &done, int limit = 60)
    {
        for (int ticks = 1; ticks <= limit; ++ticks) {
            NmMock::waitUntil([] { return false; }, 150);
            tick();
            if (done())
                return ticks;
        }
        return -1;
    }
    bool up() const { return core->currentCall().Connected; }
    void nmcli(const QString &action)
    {
        int status = -1;
        const QString output = nm.nmcli({ QStringLiteral("connection"), action, kLine }, &status);
        ASSERT_EQ(status, 0) << output.toStdString();
    }
    // The logged call `index`: its seconds and cost, against an independent
    // count of the seconds it was up.
    void expectCall(int index, int seconds)
    {
        ASSERT_GT(core->log().Count, index);
        const CallRecord &record = core->log().records[index];
        EXPECT_EQ(record.DurationSeconds, std::uint32_t(seconds));
        EXPECT_EQ(record.Cost, kPerCall + kPerSecond * seconds);
        EXPECT_EQ(core->providers().records[record.ProviderIndex].Name.text(), kLine);
    }

    RealNetworkManager nm;
    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService unused;
    std::unique_ptr<AppCore> core = std::make_unique<AppCore>(
        QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, unused });
    std::unique_ptr<NmDialUpService> service;
    std::unique_ptr<CallMonitor> monitor;
    std::unique_ptr<Dialler> dialler;
    QStringList errors;
};

TEST_F(RealNetworkManagerTest, AnOutsideCallByNmcliIsCostedExactly)
{
    startDaemon();
    startProgram();
    tick();
    nmcli(QStringLiteral("up"));
    ASSERT_GT(tickUntil([&] { return up(); }), 0);
    tick(5);
    nmcli(QStringLiteral("down"));
    const int down = tickUntil([&] { return !up(); });
    ASSERT_GT(down, 0);
    // The first second, five more, and every tick until the drop was seen but that one.
    expectCall(0, 1 + 5 + down - 1);
}

TEST_F(RealNetworkManagerTest, DialAndHangUpFromTheProgram)
{
    startDaemon();
    startProgram();
    tick();
    monitor->setSelectedEntry(kLine);
    dialler->DialEntry();
    ASSERT_GT(tickUntil([&] { return up(); }), 0) << errors.join(u' ').toStdString();
    EXPECT_TRUE(nm.lineActive());
    tick(3);
    dialler->ButtonDialClick();
    const int down = tickUntil([&] { return !up(); });
    ASSERT_GT(down, 0);
    EXPECT_FALSE(nm.lineActive());
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u' ').toStdString();
    ASSERT_EQ(core->log().Count, 1);
    EXPECT_EQ(core->log().records[0].Cost, kPerCall + kPerSecond * core->log().records[0].DurationSeconds);
}

TEST_F(RealNetworkManagerTest, RestartsDuringACallAndBetweenCalls)
{
    startDaemon();
    startProgram();
    tick();
    nmcli(QStringLiteral("up"));
    ASSERT_GT(tickUntil([&] { return up(); }), 0);
    tick(3);

    // During the call: the daemon keeps the line up over its restart.
    nm.stop();
    tick(2);
    EXPECT_TRUE(up()) << "held while the daemon is away";
    startDaemon();
    ASSERT_TRUE(nm.lineActive()) << "the daemon took the line down on restart";
    const int back
        = tickUntil([&] { return monitor->display().statusText != QStringLiteral("Failure in connections."); });
    ASSERT_GT(back, 0);
    EXPECT_TRUE(up());
    tick(2);
    nmcli(QStringLiteral("down"));
    const int down = tickUntil([&] { return !up(); });
    ASSERT_GT(down, 0);
    ASSERT_EQ(core->log().Count, 1) << "one call over the restart";
    expectCall(0, 1 + 3 + 2 + back + 2 + down - 1);

    // Between calls, then dial again.
    nm.stop();
    tick(2);
    startDaemon();
    ASSERT_GT(tickUntil([&] { return service->entryDialParams(kLine.toStdString()).has_value(); }), 0);
    monitor->setSelectedEntry(kLine);
    dialler->DialEntry();
    ASSERT_GT(tickUntil([&] { return up(); }), 0) << errors.join(u' ').toStdString();
    tick(2);
    dialler->ButtonDialClick();
    ASSERT_GT(tickUntil([&] { return !up(); }), 0);
    EXPECT_EQ(core->log().Count, 2);
}

TEST_F(RealNetworkManagerTest, TheProgramStartedBeforeTheDaemon)
{
    startProgram();
    tick(3);
    EXPECT_EQ(service->entryDialParams(kLine.toStdString()).error(), nm::kErrorNotRunning);
    startDaemon();
    nmcli(QStringLiteral("up"));
    ASSERT_GT(tickUntil([&] { return up(); }), 0);
    tick(4);
    nmcli(QStringLiteral("down"));
    const int down = tickUntil([&] { return !up(); });
    ASSERT_GT(down, 0);
    expectCall(0, 1 + 4 + down - 1);
}

} // namespace
