#include "platform/simdialup/SimDialUpService.h"
#include "core/store/AtomicFile.h"
#include "platform/simdialup/SimErrors.h"

#include "support/FakeClock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using Reports = std::vector<std::pair<std::uint32_t, dialup::ErrorCode>>;
const Reports kWalkToConnected { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 5, 0 }, { 14, 0 }, { 8192, 0 } };

// No process can have this id: it is above the kernel's largest.
constexpr qint64 kDeadPid = 1 << 30;

class SimDialUpServiceTest : public ::testing::Test {
protected:
    SimDialUpServiceTest()
    {
        const QByteArray phonebook = "[Fast]\nUserName=ann\nPassword=pw\nSavePassword=1\nStageSeconds=1\n"
                                     "[Silent]\nUserName=bob\nPassword=hidden\nSavePassword=0\nStageSeconds=1\n"
                                     "[Busy]\nStageSeconds=1\nFailWithError=676\n"
                                     "[Flaky]\nStageSeconds=1\nDropAfterSeconds=10\n";
        EXPECT_TRUE(writeFileAtomically(file(QStringLiteral("phonebook.ini")), phonebook));
    }

    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }
    std::unique_ptr<SimDialUpService> service(qint64 ownerPid = 0)
    {
        return std::make_unique<SimDialUpService>(dir.path(), SimDialUpService::Options { &clock, ownerPid, editor });
    }
    dialup::DialNotifier recorder()
    {
        return [this](std::uint32_t state, dialup::ErrorCode error) { reports.emplace_back(state, error); };
    }
    std::vector<std::string> listed(SimDialUpService &s)
    {
        std::vector<std::string> names;
        const auto connections = s.enumConnections();
        for (const dialup::ActiveConnection &c : connections.value())
            names.push_back(c.entryName);
        return names;
    }
    void pass(SimDialUpService &s, int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            clock.advanceSeconds(1);
            s.pollProgress();
        }
    }

    QTemporaryDir dir;
    FakeClock clock;
    Reports reports;
    SimDialUpService::EntryEditor editor;
};

} // namespace

TEST_F(SimDialUpServiceTest, DialWalksToConnectedAndStaysUpAfterward)
{
    auto dialler = service();
    const auto handle = dialler->dial("Fast", "ann", "pw", recorder());
    ASSERT_TRUE(handle);
    dialler->pollProgress();
    EXPECT_EQ(reports, (Reports { { 0, 0 } })) << "the first state arrives from the timer, not from inside dial()";
    pass(*dialler, 2);
    EXPECT_EQ(reports, (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 } }));
    clock.advanceSeconds(60);
    dialler->pollProgress();
    EXPECT_EQ(reports, kWalkToConnected) << "states skipped between polls are still reported, in order";

    auto monitor = service();
    EXPECT_EQ(listed(*monitor), std::vector<std::string> { "Fast" });
    const auto status = monitor->connectionStatus(*handle);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->state, dialup::kConnected);
    EXPECT_EQ(status->error, 0u);
    dialler.reset();
    clock.advanceSeconds(3600);
    EXPECT_EQ(listed(*monitor), std::vector<std::string> { "Fast" }) << "outlives the process that dialled it";
}

TEST_F(SimDialUpServiceTest, FailedDialsReportTheirErrorAndStayListedUntilHungUp)
{
    struct Case {
        const char *entry, *user, *password;
        Reports expected;
    };
    const Case cases[] = {
        { "Busy", "", "", { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 2, simdialup::kLineBusy } } },
        { "Fast", "ann", "wrong",
            { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 5, 0 }, { 5, simdialup::kAuthenticationFailed } } },
        { "Silent", "bob", "",
            { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 }, { 5, 0 }, { 5, simdialup::kAuthenticationFailed } } },
    };
    auto s = service();
    for (const Case &c : cases) {
        reports.clear();
        const auto handle = s->dial(c.entry, c.user, c.password, recorder());
        ASSERT_TRUE(handle) << c.entry;
        pass(*s, 10);
        EXPECT_EQ(reports, c.expected) << c.entry;
        const auto status = s->connectionStatus(*handle);
        ASSERT_TRUE(status) << c.entry;
        EXPECT_EQ(status->error, c.expected.back().second) << c.entry;
        EXPECT_TRUE(s->hangUp(*handle)) << c.entry;
        EXPECT_TRUE(listed(*s).empty()) << c.entry;
    }
    EXPECT_EQ(s->errorText(simdialup::kLineBusy), "The line is busy.");
    EXPECT_EQ(
        s->errorText(simdialup::kAuthenticationFailed), "The remote computer refused the user name or the password.");
    EXPECT_EQ(s->errorText(4242), "Dial-up error 4242.");
}

TEST_F(SimDialUpServiceTest, DroppedLineIsReportedThenVanishes)
{
    auto s = service();
    const auto handle = s->dial("Flaky", "", "", recorder());
    ASSERT_TRUE(handle);
    pass(*s, 15);
    EXPECT_EQ(reports, kWalkToConnected);
    pass(*s, 1);
    EXPECT_EQ(reports.back(), (std::pair<std::uint32_t, dialup::ErrorCode> { dialup::kDisconnected, 0 }));
    EXPECT_EQ(s->connectionStatus(*handle)->state, dialup::kDisconnected);
    EXPECT_EQ(listed(*s), std::vector<std::string> { "Flaky" });
    pass(*s, 3);
    EXPECT_TRUE(listed(*s).empty());
    EXPECT_EQ(s->connectionStatus(*handle).error(), simdialup::kInvalidHandle);
    EXPECT_EQ(reports.size(), kWalkToConnected.size() + 1) << "told of the drop once";
    EXPECT_TRUE(s->dial("Flaky", "", "", nullptr)) << "the line is free again";
}

TEST_F(SimDialUpServiceTest, SecondDialOfAnEntryInUseIsRefused)
{
    auto first = service();
    auto second = service();
    const auto handle = first->dial("Fast", "ann", "pw", nullptr);
    ASSERT_TRUE(handle);
    EXPECT_EQ(second->dial("fast", "ann", "pw", nullptr).error(), simdialup::kLineInUse) << "while dialling";
    clock.advanceSeconds(10);
    EXPECT_EQ(second->dial("Fast", "ann", "pw", nullptr).error(), simdialup::kLineInUse) << "while connected";
    const auto other = second->dial("Busy", "", "", nullptr);
    ASSERT_TRUE(other) << "another entry has its own line";
    EXPECT_NE(*other, *handle);
    EXPECT_EQ(listed(*first), (std::vector<std::string> { "Fast", "Busy" })) << "in the order dialled";
    ASSERT_TRUE(second->hangUp(*handle));
    EXPECT_TRUE(second->dial("Fast", "ann", "pw", nullptr));
    EXPECT_EQ(second->dial("Nowhere", "", "", nullptr).error(), simdialup::kEntryNotFound);
}

TEST_F(SimDialUpServiceTest, HangUpFromAnotherProcessEndsTheDial)
{
    auto dialler = service();
    auto other = service();
    const auto connected = dialler->dial("Fast", "ann", "pw", recorder());
    pass(*dialler, 6);
    ASSERT_EQ(reports, kWalkToConnected);
    ASSERT_TRUE(other->hangUp(*connected));
    dialler->pollProgress();
    EXPECT_EQ(reports.back(), (std::pair<std::uint32_t, dialup::ErrorCode> { dialup::kDisconnected, 0 }));

    reports.clear();
    const auto dialling = dialler->dial("Fast", "ann", "pw", recorder());
    pass(*dialler, 2);
    ASSERT_TRUE(other->hangUp(*dialling));
    pass(*dialler, 10);
    EXPECT_EQ(reports, (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 2, simdialup::kHungUp } }));
    EXPECT_EQ(other->hangUp(*dialling).error(), simdialup::kInvalidHandle);
}

TEST_F(SimDialUpServiceTest, OwnHangUpSilencesTheNotifier)
{
    auto s = service();
    dialup::ConnectionHandle handle = 0;
    handle = s->dial("Fast", "ann", "pw", [&](std::uint32_t state, dialup::ErrorCode error) {
                  reports.emplace_back(state, error);
                  if (state == dialup::kDeviceConnected)
                      (void)s->hangUp(handle);
              }).value();
    clock.advanceSeconds(60);
    s->pollProgress();
    EXPECT_EQ(reports, (Reports { { 0, 0 }, { 1, 0 }, { 2, 0 }, { 3, 0 } })) << "nothing after the hang-up";
    EXPECT_TRUE(listed(*s).empty());
}

TEST_F(SimDialUpServiceTest, UnfinishedDialOfAProcessThatDiedIsCleanedUp)
{
    auto orphan = service(kDeadPid);
    auto monitor = service();
    ASSERT_TRUE(orphan->dial("Fast", "ann", "pw", nullptr));
    EXPECT_TRUE(listed(*monitor).empty()) << "still dialling, its dialler gone";
    EXPECT_TRUE(monitor->dial("Fast", "ann", "pw", nullptr)) << "the line was freed";

    ASSERT_TRUE(orphan->dial("Busy", "", "", nullptr));
    clock.advanceSeconds(60);
    EXPECT_EQ(listed(*monitor), std::vector<std::string> { "Fast" }) << "a failed dial of a dead process goes too";
}

TEST_F(SimDialUpServiceTest, ConnectedLineOfAProcessThatDiedStays)
{
    auto orphan = service(kDeadPid);
    orphan->pollProgress();
    const auto handle = orphan->dial("Fast", "ann", "pw", nullptr);
    ASSERT_TRUE(handle);
    clock.advanceSeconds(6);
    auto monitor = service();
    EXPECT_EQ(listed(*monitor), std::vector<std::string> { "Fast" });
    EXPECT_EQ(monitor->connectionStatus(*handle)->state, dialup::kConnected);
}

TEST_F(SimDialUpServiceTest, DamagedStateFileReadsAsNoConnections)
{
    const QString state = file(QStringLiteral("dialup.state"));
    const QByteArray damaged[] = {
        "",
        "\x01\x02 not json at all",
        "[1, 2, 3]",
        "{\"connections\": 5}",
        "{\"connections\": [\"a\", 7, null]}",
        "{\"connections\": [{\"handle\": 1}]}",
        QByteArray(SimStateFile::kMaxFileBytes + 10, ' '),
        QByteArray(5000, '[') + QByteArray(5000, ']'),
    };
    for (const QByteArray &bytes : damaged) {
        ASSERT_TRUE(writeFileAtomically(state, bytes));
        auto s = service();
        EXPECT_TRUE(listed(*s).empty()) << bytes.left(40).constData();
        const auto handle = s->dial("Fast", "ann", "pw", nullptr);
        EXPECT_TRUE(handle) << "a damaged file is replaced by the next change";
        EXPECT_EQ(listed(*s), std::vector<std::string> { "Fast" });
        EXPECT_TRUE(s->hangUp(*handle));
    }
}

TEST_F(SimDialUpServiceTest, DamagedRecordsAreSkippedOneByOne)
{
    // A sound record, connected since now, with some of its fields replaced.
    const auto record = [this](const QJsonObject &changes) {
        QJsonObject object { { QStringLiteral("handle"), 1 }, { QStringLiteral("entry"), QStringLiteral("E") },
            { QStringLiteral("owner"), QCoreApplication::applicationPid() },
            { QStringLiteral("dialStart"), clock.now().toMSecsSinceEpoch() }, { QStringLiteral("stageMs"), 0 },
            { QStringLiteral("failState"), 0 }, { QStringLiteral("failError"), 0 },
            { QStringLiteral("dropAfterMs"), 0 } };
        for (auto it = changes.begin(); it != changes.end(); ++it)
            object.insert(it.key(), it.value());
        return object;
    };
    const QJsonArray records = {
        record({}),
        record({ { QStringLiteral("handle"), 0 } }),
        record({ { QStringLiteral("handle"), 2.5 } }),
        record({ { QStringLiteral("handle"), 1e300 } }),
        record({ { QStringLiteral("handle"), QStringLiteral("3") } }),
        record({ { QStringLiteral("entry"), QStringLiteral("repeats handle 1") } }),
        record({ { QStringLiteral("handle"), 4 }, { QStringLiteral("stageMs"), -1 } }),
        record({ { QStringLiteral("handle"), 5 }, { QStringLiteral("failError"), 7 },
            { QStringLiteral("failState"), 8192 } }),
        record({ { QStringLiteral("handle"), 6 }, { QStringLiteral("entry"), QStringLiteral("two\nlines") } }),
        record({ { QStringLiteral("handle"), 7 }, { QStringLiteral("owner"), -1 } }),
        record({ { QStringLiteral("handle"), 8 }, { QStringLiteral("dialStart"), QJsonValue() } }),
        record({ { QStringLiteral("handle"), 9 }, { QStringLiteral("entry"), QStringLiteral("F") } }),
    };
    const QJsonObject root { { QStringLiteral("nextHandle"), QStringLiteral("x") },
        { QStringLiteral("connections"), records } };
    const QByteArray text = QJsonDocument(root).toJson();
    ASSERT_TRUE(writeFileAtomically(file(QStringLiteral("dialup.state")), text));
    auto s = service();
    const auto connections = s->enumConnections();
    ASSERT_TRUE(connections);
    ASSERT_EQ(connections->size(), 2u);
    EXPECT_EQ(connections->at(0).handle, 1u);
    EXPECT_EQ(connections->at(1).handle, 9u);
    EXPECT_EQ(connections->at(1).entryName, "F");
    const auto fresh = s->dial("Fast", "ann", "pw", nullptr);
    ASSERT_TRUE(fresh);
    EXPECT_NE(*fresh, 1u);
    EXPECT_NE(*fresh, 9u) << "a new handle never repeats one in use";
}

TEST_F(SimDialUpServiceTest, StoredDialParametersGiveThePasswordOnlyWhenSaved)
{
    auto s = service();
    const auto fast = s->entryDialParams("FAST");
    ASSERT_TRUE(fast);
    EXPECT_EQ(fast->userName, "ann");
    EXPECT_EQ(fast->password, "pw");
    EXPECT_TRUE(fast->passwordSaved);
    const auto silent = s->entryDialParams("Silent");
    ASSERT_TRUE(silent);
    EXPECT_EQ(silent->userName, "bob");
    EXPECT_EQ(silent->password, "");
    EXPECT_FALSE(silent->passwordSaved);
    EXPECT_EQ(s->entryDialParams("Nowhere").error(), simdialup::kEntryNotFound);
    EXPECT_EQ(s->enumEntries().value(), (std::vector<std::string> { "Fast", "Silent", "Busy", "Flaky" }));
}

TEST_F(SimDialUpServiceTest, EntryDialogsWriteThePhonebookOnlyWhenConfirmed)
{
    std::optional<SimEntry> answer;
    SimEntry shown;
    QStringList taken;
    editor = [&](dialup::NativeWindow, const SimEntry &initial, bool, const QStringList &names) {
        shown = initial;
        taken = names;
        return answer;
    };
    auto s = service();
    QFile phonebook(file(QStringLiteral("phonebook.ini")));
    ASSERT_TRUE(phonebook.open(QIODevice::ReadOnly));
    const QByteArray before = phonebook.readAll();
    phonebook.close();

    EXPECT_EQ(s->createEntry(0).error(), simdialup::kCancelled);
    EXPECT_EQ(taken.size(), 4);
    EXPECT_EQ(s->editEntry(0, "Fast").error(), simdialup::kCancelled);
    EXPECT_EQ(shown.userName, QStringLiteral("ann")) << "the dialog shows the entry as it is";
    ASSERT_TRUE(phonebook.open(QIODevice::ReadOnly));
    EXPECT_EQ(phonebook.readAll(), before) << "cancelling writes nothing";
    phonebook.close();

    answer = SimEntry {};
    answer->name = QStringLiteral("New line");
    answer->userName = QStringLiteral("dee");
    ASSERT_TRUE(s->createEntry(0));
    EXPECT_EQ(s->enumEntries()->back(), "New line");
    EXPECT_EQ(s->createEntry(0).error(), simdialup::kAlreadyExists);

    answer->name = QStringLiteral("Renamed");
    answer->userName = QStringLiteral("eve");
    ASSERT_TRUE(s->editEntry(0, "new LINE"));
    EXPECT_EQ(s->enumEntries()->back(), "New line") << "an edit keeps the name";
    EXPECT_EQ(s->entryDialParams("New line")->userName, "eve");
    EXPECT_EQ(s->editEntry(0, "Nowhere").error(), simdialup::kEntryNotFound);
}

TEST_F(SimDialUpServiceTest, WithoutAnEditorEntriesAreLeftAsTheyAre)
{
    // The command-line dialler has no window to ask in.
    auto s = service();
    EXPECT_EQ(s->createEntry(0).error(), simdialup::kCancelled);
    EXPECT_EQ(s->editEntry(0, "Fast").error(), simdialup::kCancelled);
    EXPECT_EQ(s->enumEntries().value(), (std::vector<std::string> { "Fast", "Silent", "Busy", "Flaky" }));
    EXPECT_EQ(s->entryDialParams("Fast")->userName, "ann");
}
