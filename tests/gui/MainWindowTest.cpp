#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/connection/TConnectDlg.h"
#include "gui/controls/SkinButton.h"
#include "platform/simdialup/SimDialUpService.h"
#include "platform/simdialup/SimPhonebook.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace {

QString labelText(Tapp &app, const char *name)
{
    const auto *label = app.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no label>");
}

void click(Tapp &app, const char *name)
{
    auto *button = app.findChild<SkinButton *>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

bool allButtonsEnabled(QWidget &owner, bool enabled)
{
    auto buttons = owner.findChildren<SkinButton *>();
    // Only the window's own: an open dialog is a child too.
    buttons.removeIf([&owner](const SkinButton *b) { return b->window() != &owner; });
    return !buttons.isEmpty()
        && std::ranges::all_of(buttons, [enabled](const SkinButton *b) { return b->isEnabled() == enabled; });
}

// A dialog whose skinned buttons are all off could only be left with Escape.
bool dialogUsable(QWidget &dialog)
{
    const auto buttons = dialog.findChildren<SkinButton *>();
    return buttons.isEmpty() || std::ranges::any_of(buttons, [](const SkinButton *b) { return b->isEnabled(); });
}

} // namespace

// The real window with the simulated service, dialling its demo entry.
TEST(MainWindowTest, DialsTheDemoEntryWithTheSimulatorAndLogsTheCall)
{
    QTemporaryDir dir;
    SimEntry fast = SimPhonebook::demoEntry();
    fast.stageSeconds = 0.05;
    ASSERT_TRUE(SimPhonebook(dir.path()).store(fast, SimPhonebook::StoreMode::Replace));
    SimDialUpService service(dir.path());
    SystemClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    TCallLog callLog;
    TBlind blind;
    Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, service },
        &callLog, &blind);
    app.monitor().tick();
    EXPECT_EQ(labelText(app, "grpSelectedEntry"), QStringLiteral("DemoEntry"));

    click(app, "ButtonDial");
    EXPECT_TRUE(app.connectDlg().isVisible());
    EXPECT_EQ(app.connectDlg().entryName->text(), QStringLiteral("DemoEntry"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return labelText(app, "LabelStatus") == QStringLiteral("Connected"); }, 10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.connectDlg().isVisible(); }, 5000));
    EXPECT_GE(app.connectDlg().statusLines->count(), 2);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return labelText(app, "LabelCurrentDuration") != QStringLiteral("00:00:00"); }, 5000));
    EXPECT_EQ(app.windowTitle(), QStringLiteral("Dialtally"));

    click(app, "ButtonDial");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.core().currentCall().Connected; }, 5000));
    EXPECT_EQ(app.core().log().Count, 1);
    EXPECT_EQ(labelText(app, "LabelTotalNumOfCalls"), QStringLiteral("1"));
    EXPECT_EQ(labelText(app, "LabelStatus"), QStringLiteral("Not Connected"));
    const auto connections = service.enumConnections();
    ASSERT_TRUE(connections);
    EXPECT_TRUE(connections->empty());
}

// Every dialog the main window opens runs with the skinned buttons off while
// the call goes on being costed.
TEST(MainWindowTest, ModalDialogsDisableTheButtonsAndCostingGoesOn)
{
    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    dialUp.entries = { "DemoEntry" };
    TCallLog callLog;
    TBlind blind;
    Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp },
        &callLog, &blind);
    dialUp.connect("DemoEntry");
    app.monitor().tick();
    ASSERT_TRUE(app.core().currentCall().Connected);

    for (const char *button : { "ButtonSettings", "ButtonEditTarifs", "ButtonEditTarifs2", "ButtonEditConnection",
             "ButtonChooseConnection", "ButtonSkins" }) {
        SCOPED_TRACE(button);
        const std::uint32_t before = app.core().currentCall().CallSeconds;
        bool disabledMeanwhile = false;
        bool dialogUsable = false;
        QTimer::singleShot(0, [&] {
            disabledMeanwhile = allButtonsEnabled(app, false);
            clock.advanceSeconds(1);
            app.monitor().tick();
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                dialogUsable = ::dialogUsable(*dialog);
                dialog->reject();
            }
        });
        click(app, button);
        EXPECT_TRUE(disabledMeanwhile);
        EXPECT_TRUE(dialogUsable);
        EXPECT_TRUE(allButtonsEnabled(app, true));
        EXPECT_EQ(app.core().currentCall().CallSeconds, before + 1);
    }
}

namespace {

// The main window on a fake service with the given phonebook.
class MainWindowFakeTest : public ::testing::Test {
protected:
    std::unique_ptr<Tapp> start(std::vector<std::string> entries)
    {
        dialUp.entries = std::move(entries);
        return std::make_unique<Tapp>(QDir(dir.path()).filePath(QStringLiteral("tollwise")),
            AppServices { clock, sound, startup, dialUp }, &callLog, &blind);
    }
    void tick(Tapp &app)
    {
        clock.advanceSeconds(1);
        app.monitor().tick();
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    TCallLog callLog;
    TBlind blind;
};

} // namespace

TEST_F(MainWindowFakeTest, F2AndF3StartAndEndASimulatedCall)
{
    auto app = start({ "DemoEntry" });
    QTest::keyClick(app.get(), Qt::Key_F3);
    EXPECT_EQ(app->core().log().Count, 0) << "no call to end";
    QTest::keyClick(app.get(), Qt::Key_F2);
    tick(*app);
    tick(*app);
    QTest::keyClick(app.get(), Qt::Key_F3);
    EXPECT_EQ(app->core().log().Count, 1);
    EXPECT_EQ(labelText(*app, "LabelTodaysTime"), QStringLiteral("00:00:02"));
    EXPECT_EQ(labelText(*app, "LabelTodateTime"), QStringLiteral("0000:00:02"));
    EXPECT_EQ(labelText(*app, "LabelTotalNumOfCalls"), QStringLiteral("1"));
    EXPECT_EQ(labelText(*app, "LabelCurrentDuration"), QStringLiteral("00:00:00"));
    EXPECT_EQ(callLog.findChild<QTableView *>(QStringLiteral("sg"))->model()->rowCount(), 1)
        << "the call log is refilled after the call";
}

TEST_F(MainWindowFakeTest, WithoutProvidersTheTotalsKeepTheirDashes)
{
    auto app = start({});
    tick(*app);
    for (const char *name : { "LabelTodaysTime", "LabelTodaysCost", "LabelMonthsTime", "LabelMonthsCost",
             "LabelTodateTime", "LabelTodateCost", "LabelTotalNumOfCalls" })
        EXPECT_EQ(labelText(*app, name), QStringLiteral("-")) << name;
    EXPECT_EQ(labelText(*app, "LabelCallTarif"), QStringLiteral("Please Add Tarifs"));
}

namespace {

// Answers each modal dialog as it shows, by the first of `buttons` it has,
// keeping its texts; `before` runs first.
class DialogAnswers {
public:
    DialogAnswers(QStringList buttons, std::function<void(const QString &)> before = {})
        : m_buttons(std::move(buttons))
        , m_before(std::move(before))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { answer(); });
        m_poll.start(10);
    }
    QStringList shown;

private:
    void answer()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog || dialog == m_answered)
            return;
        QString text;
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            text += label->text();
        for (const QString &name : m_buttons) {
            if (auto *button = dialog->findChild<QAbstractButton *>(name)) {
                m_answered = dialog;
                shown.append(text);
                if (m_before)
                    m_before(name);
                button->click();
                return;
            }
        }
    }

    QStringList m_buttons;
    std::function<void(const QString &)> m_before;
    QTimer m_poll;
    QPointer<QWidget> m_answered;
};

} // namespace

TEST_F(MainWindowFakeTest, AClosingDialogWritesWhatItChanged)
{
    auto app = start({ "DemoEntry" });
    const QString tariffs = QDir(dir.path()).filePath(QStringLiteral("Tariffs.data"));
    ASSERT_FALSE(QFile::exists(tariffs));
    QTimer::singleShot(0, [&] {
        app->core().tariffs().records[0].UnitCost = 100; // as the editor stores a tariff
        QApplication::activeModalWidget()->close();
    });
    click(*app, "ButtonEditTarifs");
    EXPECT_TRUE(QFile::exists(tariffs));
}

TEST_F(MainWindowFakeTest, TheSessionsEndLogsTheRunningCallAndWritesEveryFile)
{
    auto app = start({ "DemoEntry" });
    dialUp.connect("DemoEntry");
    tick(*app);
    tick(*app);
    app->endSession();
    EXPECT_EQ(app->core().log().Count, 1);
    QFile log(QDir(dir.path()).filePath(QStringLiteral("Log.data")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.read(13).at(12), 0) << "the call is logged on disk";
    QFile settings(QDir(dir.path()).filePath(QStringLiteral("settings.data")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("Log.NumberOfRecords=1"));
}

#ifdef Q_OS_LINUX
namespace {

// How often each file of a folder was put in place since the counter was
// made: an atomic write ends with its file created or renamed there, once.
class FileWriteCounter {
public:
    explicit FileWriteCounter(const QString &folder)
        : m_fd(inotify_init1(IN_NONBLOCK))
    {
        EXPECT_GE(inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO), 0);
    }
    ~FileWriteCounter() { close(m_fd); }
    FileWriteCounter(const FileWriteCounter &) = delete;
    FileWriteCounter &operator=(const FileWriteCounter &) = delete;

    int writes(const QString &name)
    {
        alignas(inotify_event) char buffer[16384];
        ssize_t size = 0;
        while ((size = read(m_fd, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < size;) {
                const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
                if (event->len > 0)
                    ++m_writes[QFile::decodeName(event->name)];
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return m_writes.value(name);
    }

private:
    int m_fd;
    QHash<QString, int> m_writes;
};

} // namespace

TEST_F(MainWindowFakeTest, TheExitDuringACallWritesEachFileOnce)
{
    auto app = start({ "DemoEntry" });
    dialUp.connect("DemoEntry");
    tick(*app);
    tick(*app);
    FileWriteCounter counter(dir.path());
    app->endSession();
    ASSERT_EQ(app->core().log().Count, 1);
    for (const char *name : { "Providers.data", "Log.data", "Tariffs.data", "settings.data" })
        EXPECT_EQ(counter.writes(QString::fromLatin1(name)), 1) << name;
}
#endif

TEST_F(MainWindowFakeTest, AFileThatCannotBeWrittenAtExitIsOfferedAgain)
{
    auto app = start({ "DemoEntry" });
    app->show();
    // A folder where the file should be: no write can replace it.
    QDir folder(dir.path());
    ASSERT_TRUE(folder.mkdir(QStringLiteral("Tariffs.data")));
    int retries = 0;
    DialogAnswers answers({ QStringLiteral("Yes"), QStringLiteral("Retry") }, [&](const QString &button) {
        if (button == QStringLiteral("Retry") && ++retries == 2)
            folder.rmdir(QStringLiteral("Tariffs.data"));
    });
    app->close();
    ASSERT_EQ(answers.shown.size(), 3);
    EXPECT_TRUE(answers.shown[1].contains(QDir::toNativeSeparators(folder.filePath(QStringLiteral("Tariffs.data")))))
        << answers.shown[1].toStdString();
    EXPECT_TRUE(answers.shown[1].contains(QStringLiteral("press Abort to exit all the same.")));
    EXPECT_TRUE(answers.shown[1].contains(QStringLiteral("nothing is lost"))) << "no change waits for that file";
    EXPECT_EQ(retries, 2);
    EXPECT_EQ(QFileInfo(folder.filePath(QStringLiteral("Tariffs.data"))).size(), 38912);
}

TEST_F(MainWindowFakeTest, AFullProviderTableIsToldOnceAndTheCallGoesToTheSelectedProvider)
{
    std::vector<std::string> entries;
    for (int i = 0; i < 254; ++i)
        entries.push_back("P" + std::to_string(i));
    auto app = start(entries);
    app->show();
    app->core().providers().Current = 7;
    dialUp.entries.push_back("DemoEntry");
    DialogAnswers answers({ QStringLiteral("OK") });
    dialUp.connect("DemoEntry");
    for (int i = 0; i < 3; ++i) {
        tick(*app);
        QTest::qWait(50);
    }
    ASSERT_TRUE(app->core().currentCall().Connected);
    dialUp.connections.clear();
    tick(*app);
    QTest::qWait(50);
    ASSERT_EQ(app->core().log().Count, 1);
    EXPECT_EQ(app->core().log().records[0].ProviderIndex, 7) << "booked to the provider selected";
    EXPECT_EQ(app->core().providers().Count, 254);
    ASSERT_EQ(answers.shown.size(), 1) << "told once";
    EXPECT_TRUE(answers.shown[0].contains(QStringLiteral("\"DemoEntry\""))) << answers.shown[0].toStdString();
    EXPECT_TRUE(answers.shown[0].contains(QStringLiteral("full"))) << answers.shown[0].toStdString();
    EXPECT_TRUE(answers.shown[0].contains(QStringLiteral("\"P7\""))) << answers.shown[0].toStdString();
}

// A message about a file that cannot be written waits for the user while the
// ticks go on: a call made meanwhile is still seen, costed and logged.
TEST_F(MainWindowFakeTest, TheMonitorRunsWhileAFailedWriteIsReported)
{
    auto app = start({ "DemoEntry" });
    app->show();
    QDir folder(dir.path());
    ASSERT_TRUE(folder.mkdir(QStringLiteral("Log.data"))); // no write can replace it
    QTest::keyClick(app.get(), Qt::Key_F2);
    tick(*app);
    bool seenWhileOpen = false;
    std::uint32_t loggedSeconds = 0;
    QTimer::singleShot(100, [&] {
        QWidget *message = QApplication::activeModalWidget();
        if (!message)
            return;
        dialUp.connect("DemoEntry");
        for (int i = 0; i < 10; ++i)
            tick(*app);
        seenWhileOpen = app->core().currentCall().Connected;
        dialUp.connections.clear();
        tick(*app);
        loggedSeconds = app->core().log().records[1].DurationSeconds;
        message->close();
    });
    QTest::keyClick(app.get(), Qt::Key_F3);
    ASSERT_TRUE(QTest::qWaitFor([&] { return seenWhileOpen || app->core().log().Count == 2; }, 3000));
    EXPECT_TRUE(seenWhileOpen) << "the tick stood still behind the message";
    ASSERT_EQ(app->core().log().Count, 2);
    EXPECT_EQ(loggedSeconds, 10u);
    app->core().setSaveFailureHandler({});
}
