#include "core/store/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// A file system of 64 KiB of its own, mounted while this lives (root only).
class SmallDisk {
public:
    SmallDisk()
    {
        if (geteuid() != 0) {
            m_problem = "mounting a file system needs root";
            return;
        }
        if (::mount("tmpfs", m_dir.path().toLocal8Bit().constData(), "tmpfs", 0, "size=64k") != 0) {
            m_problem = std::string("no file system can be mounted here: ") + std::strerror(errno);
            return;
        }
        m_mounted = true;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_dir.path().toLocal8Bit().constData(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    const std::string &problem() const { return m_problem; }
    QString file(const QString &name) const { return QDir(m_dir.path()).filePath(name); }
    QStringList entries() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

private:
    QTemporaryDir m_dir;
    std::string m_problem;
    bool m_mounted = false;
};

} // namespace

TEST(AtomicFile, AFullDiskGivesItsReasonAndKeepsTheOldFile)
{
    const SmallDisk disk;
    if (!disk.problem().empty())
        GTEST_SKIP() << disk.problem();
    const QString path = disk.file(QStringLiteral("Log.data"));
    const QByteArray old(16 * 1024, 'a');
    ASSERT_TRUE(writeFileAtomically(path, old));

    const auto result = writeFileAtomically(path, QByteArray(128 * 1024, 'b'));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().path, path);
    EXPECT_EQ(result.error().reason, QString::fromLocal8Bit(std::strerror(ENOSPC)));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), old);
    EXPECT_EQ(disk.entries(), QStringList { QStringLiteral("Log.data") }) << "no temporary file left";
}
