#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimDialUpService.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Generous: the tests also run under the sanitizers on a busy machine.
constexpr int kTimeoutMs = 60000;

struct ToolRun {
    int exitCode = -1;
    QString out;
    QString err;
};

bool waitUntil(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > kTimeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
    return true;
}

// Each test has a program folder of its own with a copy of the tool in it,
// because the tool works on the folder it lives in.
class DialToolProcessTest : public ::testing::Test {
protected:
    DialToolProcessTest()
    {
        EXPECT_TRUE(QFile::copy(QStringLiteral(TOLLWISE_DIAL_PATH), tool));
        const QByteArray phonebook = "[Fast]\nUserName=ann\nPassword=pw\nSavePassword=1\nStageSeconds=0.02\n"
                                     "[Refuses]\nStageSeconds=0.02\nFailWithError=676\n"
                                     "[Secret]\nUserName=bob\nPassword=pw\nSavePassword=0\nStageSeconds=0.02\n"
                                     "[Slow]\nStageSeconds=30\n";
        EXPECT_TRUE(writeFileAtomically(QDir(dir.path()).filePath(QStringLiteral("phonebook.ini")), phonebook));
        // The simulated service, whatever dial-up service the machine has.
        EXPECT_TRUE(writeFileAtomically(QDir(dir.path()).filePath(QStringLiteral("settings.data")),
            "[Application]\r\nDialUpService=Simulator\r\n"));
    }

    ToolRun run(const QStringList &arguments)
    {
        QProcess process;
        process.start(tool, arguments);
        ToolRun result;
        if (!process.waitForFinished(kTimeoutMs))
            return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    std::vector<std::string> listed()
    {
        std::vector<std::string> names;
        const auto connections = library.enumConnections();
        for (const dialup::ActiveConnection &c : connections.value())
            names.push_back(c.entryName);
        return names;
    }

    QTemporaryDir dir;
    QString tool = QDir(dir.path()).filePath(QStringLiteral("tollwise-dial"));
    SimDialUpService library { dir.path() };
};

} // namespace

TEST_F(DialToolProcessTest, ToolDialsAndTheLibrarySeesTheConnection)
{
    const ToolRun dialled = run({ QStringLiteral("Fast") });
    EXPECT_EQ(dialled.exitCode, 0) << dialled.err.toStdString();
    EXPECT_EQ(dialled.out,
        QStringLiteral("Dialling Fast...\nOpening port\nPort opened\nConnecting device\n"
                       "Device connected\nAuthenticating\nAuthenticated\nConnected\n"));

    const auto connections = library.enumConnections();
    ASSERT_TRUE(connections);
    ASSERT_EQ(connections->size(), 1u) << "the line stays up after the tool has gone";
    EXPECT_EQ(connections->front().entryName, "Fast");
    const dialup::ConnectionHandle handle = connections->front().handle;
    EXPECT_EQ(library.connectionStatus(handle)->state, dialup::kConnected);

    EXPECT_EQ(run({}).out, QStringLiteral("Fast: Connected (handle %1)\n").arg(handle));
    const ToolRun again = run({ QStringLiteral("FAST") });
    EXPECT_EQ(again.exitCode, 602 & 0xFF);
    EXPECT_EQ(again.err, QStringLiteral("Error 602: This entry is already connected or being dialled.\n"));
    EXPECT_EQ(again.out, QString()) << "a refused dial announces nothing";

    ASSERT_TRUE(library.hangUp(handle));
    EXPECT_EQ(run({}).out, QStringLiteral("No active connections.\n"));
}

TEST_F(DialToolProcessTest, ToolHangsUpADialOfTheLibrary)
{
    std::vector<std::uint32_t> states;
    ASSERT_TRUE(
        library.dial("Fast", "ann", "pw", [&](std::uint32_t state, dialup::ErrorCode) { states.push_back(state); }));
    ASSERT_TRUE(waitUntil([&] { return !states.empty() && states.back() == dialup::kConnected; }));

    const ToolRun hungUp = run({ QStringLiteral("fast"), QStringLiteral("/disconnect") });
    EXPECT_EQ(hungUp.exitCode, 0) << hungUp.err.toStdString();
    EXPECT_EQ(hungUp.out, QStringLiteral("Hung up Fast.\n"));
    ASSERT_TRUE(waitUntil([&] { return states.back() == dialup::kDisconnected; }))
        << "the dialling program is told the line went down";
    EXPECT_TRUE(listed().empty());

    const ToolRun nothing = run({ QStringLiteral("/disconnect") });
    EXPECT_EQ(nothing.exitCode, 1);
    EXPECT_EQ(nothing.err, QStringLiteral("There is no active connection to hang up.\n"));
}

TEST_F(DialToolProcessTest, FailuresExitWithTheirCodeAndLeaveNoConnection)
{
    struct Case {
        QStringList arguments;
        int exitCode;
        QString err;
    };
    const Case cases[] = {
        { { "Refuses" }, 676 & 0xFF, "Error 676: The line is busy.\n" },
        { { "Secret" }, 691 & 0xFF, "Error 691: The remote computer refused the user name or the password.\n" },
        { { "Secret", "bob", "wrong" }, 691 & 0xFF,
            "Error 691: The remote computer refused the user name or the password.\n" },
        { { "Nowhere" }, 623 & 0xFF, "Error 623: There is no phonebook entry of that name.\n" },
        { { "Nowhere", "/disconnect" }, 1, "Nowhere is not connected.\n" },
    };
    for (const Case &c : cases) {
        const ToolRun result = run(c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(result.err, c.err) << c.arguments.join(' ').toStdString();
        EXPECT_FALSE(result.out.contains(QStringLiteral("wrong"))) << "a password is never shown";
        EXPECT_TRUE(listed().empty()) << c.arguments.join(' ').toStdString();
    }
    const ToolRun bad = run({ QStringLiteral("/bogus") });
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.startsWith(QStringLiteral("tollwise-dial: unknown option \"/bogus\".")));

    const ToolRun typed = run({ QStringLiteral("Secret"), QStringLiteral("bob"), QStringLiteral("pw") });
    EXPECT_EQ(typed.exitCode, 0) << "a password typed on the command line is used";
    EXPECT_EQ(run({ QStringLiteral("/list") }).out, QStringLiteral("Fast\nRefuses\nSecret\nSlow\n"));
}

TEST_F(DialToolProcessTest, DialOfAKilledToolIsCleanedUp)
{
    QProcess process;
    process.start(tool, { QStringLiteral("Slow") });
    ASSERT_TRUE(waitUntil([&] { return process.canReadLine() || process.state() == QProcess::NotRunning; }));
    ASSERT_EQ(process.readLine(), QByteArray("Dialling Slow...\n"));
    EXPECT_EQ(listed(), std::vector<std::string> { "Slow" }) << "seen while the tool dials";
    process.kill();
    ASSERT_TRUE(process.waitForFinished(kTimeoutMs));
    EXPECT_TRUE(listed().empty()) << "its dialler died before it connected";
}

// Another folder's service, as the program given that folder would use it;
// the tool's own folder is left as it was.
TEST_F(DialToolProcessTest, FolderOptionWorksOnThatFolderOnly)
{
    QTemporaryDir other;
    ASSERT_TRUE(other.isValid());
    const QDir otherDir(other.path());
    ASSERT_TRUE(
        writeFileAtomically(otherDir.filePath(QStringLiteral("phonebook.ini")), "[Elsewhere]\nStageSeconds=0.02\n"));
    ASSERT_TRUE(writeFileAtomically(
        otherDir.filePath(QStringLiteral("settings.data")), "[Application]\r\nDialUpService=Simulator\r\n"));
    const QStringList ownFiles = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

    EXPECT_EQ(
        run({ QStringLiteral("--folder"), other.path(), QStringLiteral("/list") }).out, QStringLiteral("Elsewhere\n"));
    const ToolRun dialled = run({ QStringLiteral("--folder=") + other.path(), QStringLiteral("Elsewhere") });
    EXPECT_EQ(dialled.exitCode, 0) << dialled.err.toStdString();
    SimDialUpService otherService(other.path());
    const auto connections = otherService.enumConnections();
    ASSERT_TRUE(connections);
    ASSERT_EQ(connections->size(), 1u);
    EXPECT_EQ(connections->front().entryName, "Elsewhere");
    EXPECT_TRUE(listed().empty()) << "the call went to the tool's own folder";
    EXPECT_EQ(run({ QStringLiteral("--folder"), other.path(), QStringLiteral("/disconnect") }).exitCode, 0);

    const QString missing = otherDir.filePath(QStringLiteral("typo"));
    const ToolRun refused = run({ QStringLiteral("--folder"), missing, QStringLiteral("Elsewhere") });
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, QStringLiteral("tollwise-dial: no folder %1\n").arg(missing));
    EXPECT_FALSE(QFileInfo::exists(missing)) << "a mistyped folder was made";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), ownFiles);
}
