#include "core/datafolder/ProgramFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ProgramFoldersTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }

    QString path(const QString &relative) const { return QDir(m_root.path()).filePath(relative); }

    void makeFile(const QString &relative) const
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << relative.toStdString();
    }

    void makeFolder(const QString &relative) const { ASSERT_TRUE(QDir().mkpath(path(relative))); }

    QTemporaryDir m_root;
};

TEST_F(ProgramFoldersTest, PortableBesideTheProgramInstalledInTheUsersDataFolder)
{
    struct Case {
        const char *name;
        const char *program; // relative to the scratch root
        QStringList files; // made before the choice
        bool installed;
    };
    const Case cases[] = {
        { "build folder", "build/bin/tollwise", { "build/bin/skins/default/main.ubm" }, false },
        { "unpacked by hand", "unpacked/tollwise", {}, false },
        { "a bin folder without an installation beside it", "tools/bin/tollwise", {}, false },
        { "bin folder of an installation", "prefix/bin/tollwise", { "prefix/share/tollwise/skins/default/main.ubm" },
            true },
        { "an installation that already holds the log", "prefix/bin/tollwise",
            { "prefix/share/tollwise/help/index.html", "prefix/bin/Log.data" }, false },
        { "an installation that already holds the settings", "prefix/bin/tollwise",
            { "prefix/share/tollwise/help/index.html", "prefix/bin/settings.data" }, false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir scratch;
        ASSERT_TRUE(scratch.isValid());
        const QDir root(scratch.path());
        for (const QString &file : c.files) {
            QDir().mkpath(QFileInfo(root.filePath(file)).absolutePath());
            QFile made(root.filePath(file));
            ASSERT_TRUE(made.open(QIODevice::WriteOnly));
        }
        const QString program = root.filePath(QString::fromLatin1(c.program));
        QDir().mkpath(QFileInfo(program).absolutePath());
        const QString home = root.filePath(QStringLiteral("home"));

        const ProgramFolders folders = locateProgramFolders(program, { QString(), home });

        EXPECT_EQ(folders.installed, c.installed);
        EXPECT_EQ(folders.programPath, program);
        if (c.installed) {
            EXPECT_EQ(folders.dataFolder, root.filePath(QStringLiteral("home/.local/share/tollwise")));
            EXPECT_EQ(folders.sharedFolders.value(0), root.filePath(QStringLiteral("prefix/share/tollwise")));
        } else {
            EXPECT_EQ(folders.dataFolder, QFileInfo(program).absolutePath());
        }
    }
}

TEST_F(ProgramFoldersTest, InstalledDataFolderFollowsXdgDataHomeOnlyWhenAbsolute)
{
    makeFile(QStringLiteral("usr/share/tollwise/help/index.html"));
    makeFolder(QStringLiteral("usr/bin"));
    const QString program = path(QStringLiteral("usr/bin/tollwise"));
    const QString home = path(QStringLiteral("home/user"));
    struct Case {
        QString xdgDataHome;
        QString expected;
    };
    const Case cases[] = {
        { path(QStringLiteral("elsewhere/data")), path(QStringLiteral("elsewhere/data/tollwise")) },
        { QString(), path(QStringLiteral("home/user/.local/share/tollwise")) },
        { QStringLiteral("relative/data"), path(QStringLiteral("home/user/.local/share/tollwise")) },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.xdgDataHome.toStdString());
        const ProgramFolders folders = locateProgramFolders(program, { c.xdgDataHome, home });
        EXPECT_TRUE(folders.installed);
        EXPECT_EQ(folders.dataFolder, c.expected);
    }
}

TEST(ProgramFolders, SystemFoldersAreTheSystemsPrefixesAndWhatIsBelowThem)
{
    const std::pair<const char *, bool> cases[] = {
        { "/usr/bin", true },
        { "/usr/local/bin", true },
        { "/usr", true },
        { "/opt/tollwise", true },
        { "/usr/../usr/bin/", true },
        { "/usrlocal/bin", false },
        { "/home/ann/usr/bin", false },
        { "/tmp/build/bin", false },
        { "/usr/../home/ann/bin", false },
    };
    for (const auto &[folder, system] : cases)
        EXPECT_EQ(isSystemFolder(QString::fromLatin1(folder)), system) << folder;
}

TEST_F(ProgramFoldersTest, SharedFilesAreFoundInTheUsersFolderFirst)
{
    ProgramFolders folders;
    folders.dataFolder = path(QStringLiteral("data"));
    folders.sharedFolders = { path(QStringLiteral("share")), path(QStringLiteral("program")) };
    makeFile(QStringLiteral("data/sounds/default/welcome.wav"));
    makeFile(QStringLiteral("share/sounds/default/welcome.wav"));
    makeFile(QStringLiteral("share/help/index.html"));
    makeFile(QStringLiteral("program/help/index.html"));
    makeFile(QStringLiteral("program/sounds/default/connected.wav"));

    EXPECT_EQ(folders.find(QStringLiteral("sounds/default/welcome.wav")),
        path(QStringLiteral("data/sounds/default/welcome.wav")));
    EXPECT_EQ(folders.find(QStringLiteral("help/index.html")), path(QStringLiteral("share/help/index.html")));
    EXPECT_EQ(folders.find(QStringLiteral("sounds/default/connected.wav")),
        path(QStringLiteral("program/sounds/default/connected.wav")));
    // Missing everywhere: where the user would put it.
    EXPECT_EQ(folders.find(QStringLiteral("sounds/default/warning.wav")),
        path(QStringLiteral("data/sounds/default/warning.wav")));
}

TEST_F(ProgramFoldersTest, FirstStartMakesTheDataFolderForItsOwnerOnly)
{
    ProgramFolders folders;
    folders.dataFolder = path(QStringLiteral("home/.local/share/tollwise"));

    ASSERT_TRUE(makeDataFolder(folders).has_value());
    const QFileInfo made(folders.dataFolder);
    EXPECT_TRUE(made.isDir());
    EXPECT_EQ(made.permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
        QFile::Permissions());
    // The second start finds it and leaves its files alone.
    makeFile(QStringLiteral("home/.local/share/tollwise/Log.data"));
    EXPECT_TRUE(makeDataFolder(folders).has_value());
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("home/.local/share/tollwise/Log.data"))));
}

TEST_F(ProgramFoldersTest, AFileWhereTheDataFolderShouldBeIsReported)
{
    makeFile(QStringLiteral("home/.local/share/tollwise"));
    ProgramFolders folders;
    folders.dataFolder = path(QStringLiteral("home/.local/share/tollwise"));

    const auto made = makeDataFolder(folders);
    ASSERT_FALSE(made.has_value());
    EXPECT_TRUE(made.error().contains(folders.dataFolder)) << made.error().toStdString();
}

} // namespace
