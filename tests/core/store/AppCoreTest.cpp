#include "core/app/AppCore.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

class AppCoreTest : public ::testing::Test {
protected:
    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::unique_ptr<AppCore> makeCore()
    {
        return std::make_unique<AppCore>(
            file(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp });
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
};

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray logWithCalls(int calls)
{
    QByteArray log(524288, char(0xFF));
    log.replace(524288 - 32, 32, QByteArray(32, '\0'));
    for (int i = 0; i < calls; ++i)
        log[i * 32 + 12] = 0;
    return log;
}

} // namespace

TEST_F(AppCoreTest, FirstRunStartsBlankAndSavesFourFiles)
{
    auto core = makeCore();
    EXPECT_FALSE(core->loadAll().invalidProviderFile);
    EXPECT_EQ(core->log().Count, 0);
    EXPECT_EQ(core->tariffs().Count, 0);
    EXPECT_EQ(core->providers().Count, 0);
    core->saveEverything();
    EXPECT_EQ(QFile(file(QStringLiteral("Providers.data"))).size(), 55306);
    EXPECT_EQ(QFile(file(QStringLiteral("Log.data"))).size(), 524288);
    EXPECT_EQ(QFile(file(QStringLiteral("Tariffs.data"))).size(), 38912);
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("settings.data"))));
    EXPECT_EQ(startup.lastRunAtStartup, false);
    EXPECT_EQ(
        QString::fromStdString(startup.lastProgramPath), QDir::toNativeSeparators(file(QStringLiteral("tollwise"))));
}

TEST_F(AppCoreTest, LogCountThatCannotBeTrustedIsTakenFromTheLog)
{
    write(QStringLiteral("Log.data"), logWithCalls(3));
    const struct {
        const char *settings;
        int expectedCount;
    } cases[] = {
        { "[Application]\r\nLog.NumberOfRecords=2\r\n", 2 },
        { "[Application]\r\n", 3 },
        { "[Application]\r\nLog.NumberOfRecords=lots\r\n", 3 },
        { "[Application]\r\nLog.NumberOfRecords=-1\r\n", 3 },
        { "[Application]\r\nLog.NumberOfRecords=16385\r\n", 3 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.settings);
        write(QStringLiteral("settings.data"), c.settings);
        auto core = makeCore();
        core->loadAll();
        EXPECT_EQ(core->log().Count, c.expectedCount);
    }
}

TEST_F(AppCoreTest, TariffIdsAreNeverHandedOutTwiceAfterALostCounter)
{
    QByteArray tariffs(38912, '\0');
    tariffs[0] = 5;
    tariffs[152] = 9;
    write(QStringLiteral("Tariffs.data"), tariffs);
    write(QStringLiteral("settings.data"), "[Application]\r\nLastTariffIdNumber=2\r\n");
    auto core = makeCore();
    core->loadAll();
    EXPECT_EQ(core->tariffs().Count, 2);
    EXPECT_EQ(core->tariffs().LastTariffIdNumber, 9u);
}

TEST_F(AppCoreTest, CurrencyTextInForce)
{
    const struct {
        const char *settings;
        QString expected;
    } cases[] = {
        { "[Application]\r\nUseUserCurrency=1\r\nCurrencyString=\x80\r\n", QStringLiteral("€ ") },
        { "[Application]\r\nUseUserCurrency=1\r\n", QStringLiteral(" ") },
        { "[Application]\r\nUseUserCurrency=0\r\nCurrencyString=\x80\r\n", QString() },
    };
    for (const auto &c : cases) {
        write(QStringLiteral("settings.data"), c.settings);
        auto core = makeCore();
        core->loadAll();
        const QString expected = c.expected.isNull() ? core->systemCurrency() + QLatin1Char(' ') : c.expected;
        EXPECT_EQ(core->currencyText(), expected);
    }
}

TEST_F(AppCoreTest, InvalidProviderFileIsReported)
{
    write(QStringLiteral("Providers.data"), "OLS11");
    auto core = makeCore();
    EXPECT_TRUE(core->loadAll().invalidProviderFile);
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("MyInvalidFile.old"))));
}

TEST_F(AppCoreTest, RegistrationFailureStillWritesSettings)
{
    startup.failWith = "access denied";
    auto core = makeCore();
    core->loadAll();
    core->settings().RunAtStartup = true;
    int reports = 0;
    core->setSaveFailureHandler([&](const FileError &) { ++reports; });
    core->SaveSettings();
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("settings.data"))));
    EXPECT_EQ(startup.lastRunAtStartup, true);
    EXPECT_EQ(reports, 0);
}

TEST_F(AppCoreTest, AFailingFileIsReportedOnceUntilItWorksAgain)
{
    auto core = makeCore();
    core->loadAll();
    QStringList reported;
    core->setSaveFailureHandler([&](const FileError &error) { reported.append(error.path); });

    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = old;
    tiny.rlim_cur = 60000;
    setrlimit(RLIMIT_FSIZE, &tiny);
    core->saveEverything();
    core->saveEverything();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(reported, QStringList { file(QStringLiteral("Log.data")) });
    core->saveEverything();
    EXPECT_EQ(QFile(file(QStringLiteral("Log.data"))).size(), 524288) << "the data stayed in memory";
    EXPECT_EQ(reported.size(), 1);
}

TEST_F(AppCoreTest, SoundsPlayOnlyWhenSwitchedOn)
{
    auto core = makeCore();
    core->loadAll();
    core->PlayAppSound(AppSound::Welcome);
    EXPECT_TRUE(sound.played.isEmpty());
    core->settings().PlayApplicationSounds = true;
    core->PlayAppSound(AppSound::Connected);
    core->PlayAppSound(AppSound::Welcome);
    EXPECT_EQ(sound.played,
        (QStringList { file(QStringLiteral("sounds/default/connected.wav")),
            file(QStringLiteral("sounds/default/welcome.wav")) }));
}

// The user's sounds first, the shared ones where the user's are missing or
// are no wave at all.
TEST_F(AppCoreTest, SoundsComeFromTheUsersFolderThenTheSharedOne)
{
    const QByteArray wave = QByteArray("RIFF") + QByteArray(4, '\0') + QByteArray("WAVEfmt ") + QByteArray(28, '\0');
    for (const char *name : { "user/sounds/default/connected.wav", "share/sounds/default/connected.wav",
             "share/sounds/default/welcome.wav", "share/sounds/default/warning.wav" }) {
        QDir().mkpath(QFileInfo(file(QString::fromLatin1(name))).path());
        write(QString::fromLatin1(name), wave);
    }
    write(QStringLiteral("user/sounds/default/welcome.wav"), "not a sound, but as long as one would be....");
    write(QStringLiteral("user/sounds/default/warning.wav"), wave.left(43));
    ProgramFolders folders = ProgramFolders::beside(file(QStringLiteral("tollwise")));
    folders.dataFolder = file(QStringLiteral("user"));
    folders.sharedFolders = { file(QStringLiteral("share")) };
    AppCore core(folders, AppServices { clock, sound, startup, dialUp });
    core.settings().PlayApplicationSounds = true;

    core.PlayAppSound(AppSound::Connected);
    core.PlayAppSound(AppSound::Welcome);
    core.PlayAppSound(AppSound::Warning);
    EXPECT_EQ(sound.played,
        (QStringList { file(QStringLiteral("user/sounds/default/connected.wav")),
            file(QStringLiteral("share/sounds/default/welcome.wav")),
            file(QStringLiteral("share/sounds/default/warning.wav")) }));
}

namespace {

// Makes every write in the folder fail while it lives, in a way that holds
// for root too: a folder without write permission (root gives up its rights
// for the time), or a file-size limit far below any data file, as a full disk.
class BlockedWrites {
public:
    enum Kind { ReadOnlyFolder, FullDisk };

    BlockedWrites(Kind kind, const QString &folder)
        : m_kind(kind)
        , m_folder(folder)
    {
        if (kind == ReadOnlyFolder) {
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
            m_droppedRoot = geteuid() == 0 && seteuid(65534) == 0;
        } else {
            getrlimit(RLIMIT_FSIZE, &m_limit);
            m_handler = std::signal(SIGXFSZ, SIG_IGN);
            rlimit tiny = m_limit;
            tiny.rlim_cur = 100; // below settings.data too
            setrlimit(RLIMIT_FSIZE, &tiny);
        }
    }
    ~BlockedWrites()
    {
        if (m_kind == ReadOnlyFolder) {
            if (m_droppedRoot)
                (void)seteuid(0);
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        } else {
            setrlimit(RLIMIT_FSIZE, &m_limit);
            std::signal(SIGXFSZ, m_handler);
        }
    }
    BlockedWrites(const BlockedWrites &) = delete;
    BlockedWrites &operator=(const BlockedWrites &) = delete;

private:
    Kind m_kind;
    QString m_folder;
    bool m_droppedRoot = false;
    rlimit m_limit {};
    void (*m_handler)(int) = SIG_DFL;
};

} // namespace

TEST_F(AppCoreTest, ABlockedFolderIsReportedOncePerFileAndDamagesNothing)
{
    const QStringList names = { QStringLiteral("Providers.data"), QStringLiteral("Log.data"),
        QStringLiteral("Tariffs.data"), QStringLiteral("settings.data") };
    for (const auto kind : { BlockedWrites::ReadOnlyFolder, BlockedWrites::FullDisk }) {
        SCOPED_TRACE(kind == BlockedWrites::ReadOnlyFolder ? "read-only folder" : "full disk");
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(file(name));
        auto core = makeCore();
        core->loadAll();
        core->log().records[0].ProviderIndex = 0;
        core->log().Count = 1;
        core->saveEverything();
        QList<QByteArray> before;
        for (const QString &name : names)
            before.append(readFile(file(name)));

        QStringList reported;
        core->setSaveFailureHandler([&](const FileError &error) { reported.append(error.path); });
        core->log().records[1].ProviderIndex = 0;
        core->log().Count = 2;
        {
            const BlockedWrites blocked(kind, dir.path());
            core->saveEverything();
            core->saveEverything(); // the next call end
        }
        QStringList expected;
        for (const QString &name : names)
            expected.append(file(name));
        EXPECT_EQ(reported, expected) << "each file once";
        for (qsizetype i = 0; i < names.size(); ++i)
            EXPECT_EQ(readFile(file(names[i])), before[i]) << names[i].toStdString();
        // The calls' volume file follows the log and is not tried once the log failed.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), names.size() + 1) << "no temporary file left";

        core->saveEverything();
        EXPECT_EQ(readFile(file(QStringLiteral("Log.data"))).at(32 + 12), 0) << "the second call reached the disk";
        EXPECT_EQ(reported.size(), names.size());
    }
}

TEST_F(AppCoreTest, ADialogsChangesWriteOnlyTheFilesTheyTouch)
{
    const struct {
        const char *what;
        std::function<void(AppCore &)> change;
        QStringList written;
    } cases[] = {
        { "nothing", [](AppCore &) {}, {} },
        { "a tariff's rate", [](AppCore &c) { c.tariffs().records[0].UnitCost = 5; }, { "Tariffs.data" } },
        { "a new tariff",
            [](AppCore &c) {
                c.tariffs().records[0].IdNumber = 1;
                c.tariffs().Count = 1;
                c.tariffs().LastTariffIdNumber = 1;
            },
            { "Tariffs.data", "settings.data" } },
        { "a provider's fee", [](AppCore &c) { c.providers().records[0].MonthlyFee = 150000; }, { "Providers.data" } },
        { "a setting", [](AppCore &c) { c.settings().ShowHint = false; }, { "settings.data" } },
        { "a deleted call", [](AppCore &c) { c.log().records[0].ProviderIndex = 254; },
            { "Log.data", "Log.volume.data" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(file(name));
        auto core = makeCore();
        core->loadAll();
        c.change(*core);
        core->saveChanges();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name), QStringList(c.written));
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            QFile::remove(file(name));
        core->saveChanges();
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty()) << "written once";
    }
}

TEST_F(AppCoreTest, AtExitEveryFileThatCannotBeWrittenIsReturnedNotReported)
{
    auto core = makeCore();
    core->loadAll();
    int reported = 0;
    core->setSaveFailureHandler([&](const FileError &) { ++reported; });
    {
        const BlockedWrites blocked(BlockedWrites::ReadOnlyFolder, dir.path());
        core->saveEverything(); // reported while running
        QStringList failed;
        for (const FileError &failure : core->saveForExit())
            failed.append(QFileInfo(failure.path).fileName());
        // The settings last: their counts describe the files written before them.
        EXPECT_EQ(failed, QStringList({ "Providers.data", "Log.data", "Tariffs.data", "settings.data" }));
    }
    EXPECT_EQ(reported, 4);
    EXPECT_TRUE(core->saveForExit().isEmpty()) << "tried again";
    EXPECT_EQ(readFile(file(QStringLiteral("Tariffs.data"))).size(), 38912);
}

TEST_F(AppCoreTest, DamagedCallsAreCountedPerFileKeptInItAndNeverSummed)
{
    // Three calls of a minute on 1 March 2026 for provider 0; the second has month 13.
    QByteArray log = logWithCalls(3);
    for (int i = 0; i < 3; ++i) {
        const char bytes[12] = { 1, 3, 26, 10, char(i), 0, 1, 3, 26, 10, char(i + 1), 0 };
        log.replace(i * 32, 12, QByteArray(bytes, 12));
        const std::uint32_t seconds = 60;
        log.replace(i * 32 + 16, 4, QByteArray(reinterpret_cast<const char *>(&seconds), 4));
        log.replace(i * 32 + 20, 8, QByteArray(8, '\0'));
    }
    log[32 + 1] = 13;
    write(QStringLiteral("Log.data"), log);
    write(QStringLiteral("settings.data"), "[Application]\r\nLog.NumberOfRecords=3\r\n");
    QByteArray archive = log.left(64);
    archive[4] = 99; // minute 99
    write(QStringLiteral("Log.archive.data"), archive);

    auto core = makeCore();
    const StartupReport report = core->loadAll();
    ASSERT_EQ(report.damagedFiles.size(), 2);
    EXPECT_EQ(report.damagedFiles[0].path, file(QStringLiteral("Log.data")));
    EXPECT_EQ(report.damagedFiles[0].records, 1);
    EXPECT_EQ(report.damagedFiles[1].path, file(QStringLiteral("Log.archive.data")));
    EXPECT_EQ(report.damagedFiles[1].records, 2) << "the minute 99 and the month 13";
    EXPECT_EQ(core->log().Count, 3);
    EXPECT_FALSE(isLoggedCall(core->log().records[1]));
    EXPECT_TRUE(isLoggedCall(core->log().records[2]));

    // Written back as it was read.
    core->saveEverything();
    EXPECT_EQ(readFile(file(QStringLiteral("Log.data"))), log);

    write(QStringLiteral("Log.archive.data"), archive.left(50));
    const StartupReport cut = makeCore()->loadAll();
    ASSERT_EQ(cut.damagedFiles.size(), 2);
    EXPECT_EQ(cut.damagedFiles[1].records, -1) << "not a whole number of calls";
}

TEST_F(AppCoreTest, BudgetsAreWrittenOnlyOnceThereIsOne)
{
    ProviderBudget money;
    money.money = 250000;
    ProviderBudget warned;
    warned.warnedLevels = 1;
    const struct {
        const char *what;
        std::optional<ProviderBudget> budget;
        bool written;
    } cases[] = {
        { "no budget", std::nullopt, false },
        { "an empty budget, as the account dialog saves it", ProviderBudget {}, false },
        { "a budget of money", money, true },
        { "a warning already given", warned, true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(file(QStringLiteral("budgets.data")));
        auto core = makeCore();
        core->loadAll();
        if (c.budget)
            core->spending().budgets.insert(QStringLiteral("DemoEntry"), *c.budget);
        core->SaveSettings();
        EXPECT_EQ(QFile::exists(file(QStringLiteral("budgets.data"))), c.written);
    }
}

// A program that died between writing the archive and the log leaves the
// archive ending with the calls the full log still begins with; the start
// gives them back to the log's keeping instead of counting them twice.
TEST_F(AppCoreTest, CallsArchivedButStillInTheLogAreArchivedOnce)
{
    QByteArray log(524288, '\0');
    for (int i = 0; i < 16384; ++i) {
        log[i * 32 + 12] = 0;
        log[i * 32 + 16] = char(i & 0xFF); // seconds: every record its own
        log[i * 32 + 17] = char(i >> 8);
    }
    QByteArray earlier(1024 * 32, '\0');
    for (int i = 0; i < 1024; ++i)
        earlier[i * 32 + 20] = char(i & 0x7F); // costs: calls archived before
    const struct {
        const char *what;
        QByteArray archive;
        QByteArray kept;
    } cases[] = {
        { "one batch twice", earlier + log.left(1024 * 32), earlier },
        { "two batches twice", earlier + log.left(2048 * 32), earlier },
        { "the only batch twice", log.left(1024 * 32), {} },
        { "nothing twice", earlier, earlier },
        { "a tail that is not the log's head", earlier + log.mid(32, 1024 * 32), earlier + log.mid(32, 1024 * 32) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        write(QStringLiteral("Log.data"), log);
        write(QStringLiteral("settings.data"), "[Application]\r\nLog.NumberOfRecords=16384\r\n");
        write(QStringLiteral("Log.archive.data"), c.archive);
        auto core = makeCore();
        core->loadAll();
        EXPECT_EQ(core->log().Count, 16384);
        EXPECT_EQ(readFile(file(QStringLiteral("Log.archive.data"))), c.kept);
        EXPECT_EQ(readFile(file(QStringLiteral("Log.data"))), log) << "the log is left as it is";
    }
}

// When settings.data cannot be written, its counts on disk are the old
// ones: Tariffs.data goes back to the table they count.
TEST_F(AppCoreTest, TariffsFollowTheSettingsThatCountThem)
{
    auto core = makeCore();
    core->loadAll();
    core->tariffs().records[0].IdNumber = 1;
    core->tariffs().Count = 1;
    core->tariffs().LastTariffIdNumber = 1;
    ASSERT_TRUE(core->saveForExit().isEmpty());
    const QByteArray tariffs = readFile(file(QStringLiteral("Tariffs.data")));

    core->tariffs().records[1].IdNumber = 2;
    core->tariffs().Count = 2;
    core->tariffs().LastTariffIdNumber = 2;
    ASSERT_TRUE(QFile::remove(file(QStringLiteral("settings.data"))));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("settings.data")));
    const QList<FileError> failures = core->saveForExit();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_EQ(failures[0].path, file(QStringLiteral("settings.data")));
    EXPECT_EQ(readFile(file(QStringLiteral("Tariffs.data"))), tariffs);
    EXPECT_TRUE(core->unsavedWork().tariffs);

    ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("settings.data")));
    EXPECT_TRUE(core->saveForExit().isEmpty());
    EXPECT_EQ(readFile(file(QStringLiteral("Tariffs.data"))).at(152), 2) << "the second tariff";
}

TEST_F(AppCoreTest, DataPlansSurviveARestartAndADamagedFileIsKept)
{
    {
        auto core = makeCore();
        core->loadAll();
        core->SaveSettings();
        EXPECT_FALSE(QFile::exists(file(QStringLiteral("volume.data")))) << "no plan, no file";
        VolumePlan plan;
        plan.allowanceBytes = 2000000000;
        plan.blockBytes = 1000000;
        plan.blockPrice = 500;
        core->volumePlans().insert(QStringLiteral("DemoEntry"), plan);
        core->saveChanges();
    }
    {
        auto core = makeCore();
        const StartupReport report = core->loadAll();
        EXPECT_TRUE(report.volumeProblems.isEmpty());
        EXPECT_EQ(core->volumePlans().value(QStringLiteral("DemoEntry")).allowanceBytes, 2000000000);
    }
    const QByteArray damaged = "[Volume.0]\nName=DemoEntry\nBlockBytes=1000000\nBlockPrice=five\n";
    write(QStringLiteral("volume.data"), damaged);
    auto core = makeCore();
    const StartupReport report = core->loadAll();
    ASSERT_EQ(report.volumeProblems.size(), 1);
    EXPECT_EQ(core->volumePlans().value(QStringLiteral("DemoEntry")).blockBytes, 1000000);
    QFile kept(file(QStringLiteral("volume.data.old")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged) << "what the user wrote is never lost";
}
