// Kills a process that logs one call after another (SIGKILL, at random
// moments, mostly in the middle of writing its files) and restarts it on the
// same folder, again and again. After every kill each data file must be a
// whole version of itself and every call reported as saved must be there.
#include "core/store/DataFiles.h"
#include "core/store/IniDocument.h"
#include "core/store/Records.h"
#include "core/store/SettingsFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include <csignal>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The number after `word` on the last line of `output` that starts with it, or -1.
int lastNumber(const QByteArray &output, const QByteArray &word)
{
    int number = -1;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith(word + ' '))
            number = line.mid(word.size() + 1).toInt();
    }
    return number;
}

// The calls at the head of the log, as the child writes them; -1 when
// anything after them is not the fill of a blank log.
int callsInLog(const QByteArray &log)
{
    const auto *records = reinterpret_cast<const CallRecord *>(log.constData());
    int calls = 0;
    while (calls < kMaxLogRecords && records[calls].ProviderIndex == 0
        && records[calls].DurationSeconds == std::uint32_t(calls % 5 + 1))
        ++calls;
    for (int i = calls; i < kMaxLogRecords - 1; ++i) {
        if (QByteArray(reinterpret_cast<const char *>(&records[i]), 32).count(char(0xFF)) != 32)
            return -1;
    }
    return calls;
}

} // namespace

TEST(CrashSafetyTest, KilledWhileSavingNeverTearsAFileNorLosesALoggedCall)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir folder(dir.path());
    const unsigned seed = std::random_device {}();
    SCOPED_TRACE(testing::Message() << "random seed " << seed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMs(0, 120);

    int saved = 0; // calls the child reported as written, over all its runs
    int kills = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 15000 || kills < 5) {
        QProcess child;
        child.start(QStringLiteral(TOLLWISE_SAVING_CALLS), { dir.path() });
        ASSERT_TRUE(child.waitForStarted());
        QByteArray output;
        while (lastNumber(output, "saved") < 0 && child.state() == QProcess::Running) {
            child.waitForReadyRead(5000);
            output += child.readAllStandardOutput();
        }
        ASSERT_GE(lastNumber(output, "loaded"), saved) << "a restart lost logged calls";
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished());
        output += child.readAllStandardOutput();
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().constData();
        saved = std::max(saved, lastNumber(output, "saved"));
        ++kills;
        SCOPED_TRACE(testing::Message() << "after kill " << kills << ", " << saved << " calls saved");

        const QByteArray providers = readFile(folder.filePath(DataFiles::kProvidersFile));
        ASSERT_EQ(providers.size(), kProvidersFileSize);
        ASSERT_TRUE(providers.startsWith(QByteArray(kFileMagic, sizeof kFileMagic)));
        ProviderTable table {};
        std::memcpy(&table, providers.constData(), std::size_t(kProvidersFileSize));
        ASSERT_EQ(table.Count, 1);
        EXPECT_EQ(table.records[0].Name.text(), QStringLiteral("DemoEntry"));
        ASSERT_EQ(readFile(folder.filePath(DataFiles::kTariffsFile)).size(), kTariffsFileSize);

        const QByteArray log = readFile(folder.filePath(DataFiles::kLogFile));
        ASSERT_EQ(log.size(), kLogFileSize);
        const int calls = callsInLog(log);
        ASSERT_GE(calls, saved) << "every call reported as saved is in the log, and nothing else but the fill";

        // settings.data comes last, so its count is one the log already holds.
        const IniDocument settings
            = IniDocument::parse(QString::fromLatin1(readFile(folder.filePath(SettingsFile::kFileName))));
        const auto count = settings.value(SettingsFile::kSection, QStringLiteral("Log.NumberOfRecords"));
        ASSERT_TRUE(count.has_value());
        EXPECT_GE(count->toInt(), saved);
        EXPECT_LE(count->toInt(), calls);
    }
    EXPECT_GT(saved, kills) << "the child got on with logging between kills";
}
