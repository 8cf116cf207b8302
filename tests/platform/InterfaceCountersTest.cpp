#include "platform/networkmanager/InterfaceCounters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <optional>

namespace {

bool writeCounter(const QString &path, const QByteArray &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

} // namespace

TEST(InterfaceCounters, ReadsOnlyAnInterfaceFolderByItsName)
{
    QTemporaryDir net;
    ASSERT_TRUE(net.isValid());
    const QDir root(net.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("ppp0/statistics")));
    ASSERT_TRUE(writeCounter(root.filePath(QStringLiteral("ppp0/statistics/rx_bytes")), "18446744073709551615\n"));
    ASSERT_TRUE(writeCounter(root.filePath(QStringLiteral("ppp0/statistics/tx_bytes")), "42\n"));
    ASSERT_TRUE(root.mkpath(QStringLiteral("half/statistics")));
    ASSERT_TRUE(writeCounter(root.filePath(QStringLiteral("half/statistics/rx_bytes")), "7\n"));
    ASSERT_TRUE(root.mkpath(QStringLiteral("junk/statistics")));
    ASSERT_TRUE(writeCounter(root.filePath(QStringLiteral("junk/statistics/rx_bytes")), "lots\n"));
    ASSERT_TRUE(writeCounter(root.filePath(QStringLiteral("junk/statistics/tx_bytes")), "1\n"));
    // Reached only through a name that climbs out of the folder.
    ASSERT_TRUE(root.mkpath(QStringLiteral("ppp0/statistics/x/statistics")));

    const struct {
        const char *name;
        std::optional<std::uint64_t> received;
    } cases[] = {
        { "ppp0", 18446744073709551615ULL },
        { "half", std::nullopt },
        { "junk", std::nullopt },
        { "gone", std::nullopt },
        { "", std::nullopt },
        { ".", std::nullopt },
        { "..", std::nullopt },
        { "ppp0/statistics/x", std::nullopt },
        { "a-name-too-long0", std::nullopt },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto read = readInterfaceCounters(QString::fromLatin1(c.name), net.path());
        ASSERT_EQ(read.has_value(), c.received.has_value());
        if (read) {
            EXPECT_EQ(read->received, *c.received);
            EXPECT_EQ(read->sent, 42u);
            EXPECT_FALSE(read->fromConnect) << "an interface's counters run from before the call";
        }
    }
}

namespace {

int run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

constexpr int kFrames = 20;
constexpr int kFrameBytes = 1000;

// What the child in the namespace saw: each end's counters before and after.
struct Seen {
    bool ok = false;
    dialup::ByteCounters senderBefore, receiverBefore, senderAfter, receiverAfter;
};

// Sends kFrames raw frames of kFrameBytes out of `sender`; the pair's other end receives them.
bool sendFrames(const char *sender)
{
    const int fd = ::socket(AF_PACKET, SOCK_RAW, 0);
    if (fd < 0)
        return false;
    sockaddr_ll to {};
    to.sll_family = AF_PACKET;
    to.sll_ifindex = int(::if_nametoindex(sender));
    to.sll_halen = ETH_ALEN;
    std::memset(to.sll_addr, 0xFF, ETH_ALEN);
    unsigned char frame[kFrameBytes] = {};
    std::memset(frame, 0xFF, ETH_ALEN); // to everyone on the link: the other end
    frame[12] = 0x88; // an ethertype for local experiments
    frame[13] = 0xB5;
    bool ok = to.sll_ifindex != 0;
    for (int i = 0; i < kFrames && ok; ++i)
        ok = ::sendto(fd, frame, sizeof frame, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to)
            == ssize_t(sizeof frame);
    ::close(fd);
    return ok;
}

// A network namespace of the test's own with a veth pair in it, without
// addresses, so that nothing but the test's frames crosses it; deleted with
// this object, however the test ends.
class VethNamespace {
public:
    VethNamespace()
        : m_name(QStringLiteral("tollwise-volcount-%1").arg(::getpid()))
    {
        if (::geteuid() != 0) {
            m_skip = "needs root to make a network namespace";
            return;
        }
        if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty()
            && QStandardPaths::findExecutable(QStringLiteral("ip"), { QStringLiteral("/usr/sbin") }).isEmpty()) {
            m_skip = "ip is not installed";
            return;
        }
        if (run(QStringLiteral("ip"), { QStringLiteral("netns"), QStringLiteral("add"), m_name }) != 0) {
            m_skip = "cannot make a network namespace here";
            return;
        }
        m_made = true;
        const QStringList steps[] = {
            { "link", "add", "vc0", "type", "veth", "peer", "name", "vc1" },
            { "link", "set", "vc0", "addrgenmode", "none" },
            { "link", "set", "vc1", "addrgenmode", "none" },
            { "link", "set", "vc0", "up" },
            { "link", "set", "vc1", "up" },
        };
        for (const QStringList &step : steps) {
            if (run(QStringLiteral("ip"), QStringList { QStringLiteral("-n"), m_name } + step) != 0) {
                m_skip = "cannot make a veth pair in a network namespace";
                return;
            }
        }
    }
    ~VethNamespace()
    {
        if (m_made)
            run(QStringLiteral("ip"), { QStringLiteral("netns"), QStringLiteral("delete"), m_name });
    }
    VethNamespace(const VethNamespace &) = delete;
    VethNamespace &operator=(const VethNamespace &) = delete;

    const char *skip() const { return m_skip; }

    // In a child that joins the namespace and mounts its own /sys in a mount
    // namespace of its own: the counters, the frames, the counters again.
    Seen sendAndRead() const
    {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0)
            return {};
        const QByteArray nsPath = QByteArray("/run/netns/") + m_name.toLatin1();
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeFds[0]);
            Seen seen;
            const int ns = ::open(nsPath.constData(), O_RDONLY);
            seen.ok = ns >= 0 && ::unshare(CLONE_NEWNS) == 0
                && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 && ::setns(ns, CLONE_NEWNET) == 0
                && ::mount("sysfs", "/sys", "sysfs", 0, nullptr) == 0;
            const auto read = [&seen](const char *name, dialup::ByteCounters &into) {
                const auto counters = readInterfaceCounters(QString::fromLatin1(name));
                seen.ok = seen.ok && counters.has_value();
                if (counters)
                    into = *counters;
            };
            read("vc0", seen.senderBefore);
            read("vc1", seen.receiverBefore);
            seen.ok = seen.ok && sendFrames("vc0");
            read("vc0", seen.senderAfter);
            read("vc1", seen.receiverAfter);
            ::_exit(::write(pipeFds[1], &seen, sizeof seen) == ssize_t(sizeof seen) ? 0 : 1);
        }
        ::close(pipeFds[1]);
        Seen seen;
        if (child <= 0 || ::read(pipeFds[0], &seen, sizeof seen) != ssize_t(sizeof seen))
            seen.ok = false;
        ::close(pipeFds[0]);
        if (child > 0)
            ::waitpid(child, nullptr, 0);
        return seen;
    }

private:
    QString m_name;
    const char *m_skip = nullptr;
    bool m_made = false;
};

} // namespace

TEST(InterfaceCounters, ReadsTheKernelsCountersOfAVethPairInANamespaceOfItsOwn)
{
    const VethNamespace veth;
    if (veth.skip())
        GTEST_SKIP() << veth.skip();
    const Seen seen = veth.sendAndRead();
    if (!seen.ok)
        GTEST_SKIP() << "cannot join the namespace, mount its /sys or send frames here";
    // 20 frames of 1000 bytes each: 20000 bytes out of one end and into the other.
    EXPECT_EQ(seen.senderAfter.sent - seen.senderBefore.sent, 20000u);
    EXPECT_EQ(seen.receiverAfter.received - seen.receiverBefore.received, 20000u);
}
