#include "gui/reports/CallLogReports.h"
#include "core/app/AppCore.h"
#include "gui/calllog/TCallLog.h"
#include "gui/providers/ProviderMenu.h"
#include "gui/reports/UsageChartView.h"

#include "support/CallRecordTimes.h"
#include "support/FakeAppCore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Call {
    QDateTime start;
    std::uint32_t seconds;
    std::uint8_t provider;
    MoneyValue cost;
    std::uint8_t tariffId;
};

// Today is 2 March 2026 (the fake clock). Home's month starts on the 1st,
// the other provider's on the 20th.
class CallLogReportsTest : public ::testing::Test, protected FakeAppCore {
protected:
    void SetUp() override
    {
        core.loadAll();
        core.setCurrencyText(QStringLiteral("$ "));
        core.providers().Count = 2;
        core.providers().records[0].Name.setText(QStringLiteral("Home"));
        core.providers().records[0].MonthStartDay = 1;
        core.providers().records[1].Name.setText(QStringLiteral("@Work"));
        core.providers().records[1].MonthStartDay = 20;
        core.tariffs().Count = 1;
        core.tariffs().records[0].IdNumber = 1;
        core.tariffs().records[0].Name.setText(QStringLiteral("Day"));
        const Call calls[] = {
            { QDateTime(QDate(2026, 2, 15), QTime(23, 59)), 120, 1, 500, 1 },
            { QDateTime(QDate(2026, 3, 1), QTime(9, 0)), 90, 0, 15000, 1 },
            { QDateTime(QDate(2026, 3, 1), QTime(9, 30)), 60, kDeletedCall, 99999, 1 },
            { QDateTime(QDate(2026, 3, 1), QTime(10, 0)), 60, 0, 1000, 1 },
            { QDateTime(QDate(2026, 3, 2), QTime(8, 0)), 600, 1, 2500, 9 },
        };
        CallLogTable &log = core.log();
        for (const Call &call : calls) {
            CallRecord &r = log.records[log.Count++];
            setCallTimes(r, call.start, call.seconds);
            r.ProviderIndex = call.provider;
            r.Cost = call.cost;
            r.TariffId = call.tariffId;
        }
        window.attach(core, [] {});
        window.resize(TCallLog::kWidth, 400);
        window.show();
        window.FillGridWithLog();
        auto *reports = window.findChild<CallLogReports *>();
        ASSERT_NE(reports, nullptr);
        reports->setFileChooser([this](QWidget *, const QString &, const QString &proposed, const QString &) {
            proposedNames.append(QFileInfo(proposed).fileName());
            return target;
        });
    }

    void click(const char *name)
    {
        auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        button->click();
    }

    void chooseFromMenu(const char *menu, const QString &caption)
    {
        auto *popup = window.findChild<ProviderMenu *>(QString::fromLatin1(menu));
        ASSERT_NE(popup, nullptr) << menu;
        for (QAction *action : popup->actions())
            if (ProviderMenu::captionOf(action) == caption) {
                popup->hide();
                action->trigger();
                return;
            }
        FAIL() << "no item " << caption.toStdString();
    }

    QByteArray written() const
    {
        QFile file(target);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString target = QDir(dir.path()).filePath(QStringLiteral("out.file"));
    QStringList proposedNames;
    TCallLog window;
};

} // namespace

TEST_F(CallLogReportsTest, ExportWritesTheCallsOfTheFilterAsCsv)
{
    click("ButtonChooseProvider");
    chooseFromMenu("PopupMenu1", QStringLiteral("@Work"));
    click("ButtonExport");
    EXPECT_EQ(proposedNames, QStringList({ "calls.csv" }));
    // A name a spreadsheet would read as a formula is kept as text.
    // Marked as UTF-8 for spreadsheets.
    EXPECT_EQ(written(),
        QByteArray("\xEF\xBB\xBF"
                   "start,end,duration,cost,tariff,provider,bytes_in,bytes_out\n"
                   "2026-02-15 23:59:00,2026-02-16 00:01:00,120,0.05,Day,'@Work,,\n"
                   "2026-03-02 08:00:00,2026-03-02 08:10:00,600,0.25,9,'@Work,,\n"));

    // Cancelling the save dialog writes nothing.
    QFile::remove(target);
    target.clear();
    click("ButtonExport");
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("out.file"))));

    // A file that cannot be written is reported, naming it.
    target = QDir(dir.path()).filePath(QStringLiteral("missing/calls.csv"));
    QString message;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        // Long words carry zero-width break points so the message can wrap them.
        message = dialog->findChild<QLabel *>(QStringLiteral("Label1"))->text().remove(QChar(0x200B));
        dialog->findChild<QAbstractButton *>(QStringLiteral("OK"))->click();
    });
    click("ButtonExport");
    EXPECT_TRUE(message.contains(QStringLiteral("could not write"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("calls.csv"))) << message.toStdString();
}

TEST_F(CallLogReportsTest, ReportHasEachProvidersMonthTotalsAndChart)
{
    const struct {
        QString month;
        QStringList present;
        QStringList absent;
        int charts;
    } cases[] = {
        // Each provider's own billing month around today.
        { "Current billing month",
            { "Home: 2026-03-01 to 2026-03-31", "Total: 2 calls", "$ 1.60", "@Work: 2026-02-20 to 2026-03-19",
                "Total: 1 call<", "$ 0.25", "Avg Cost" },
            { "0:02:00" }, 2 },
        { "February 2026", { "@Work: 2026-02-01 to 2026-02-28", "0:02:00", "$ 0.05" }, { "Home" }, 1 },
    };
    for (const auto &c : cases) {
        QFile::remove(target);
        click("ButtonReport");
        chooseFromMenu("MonthMenu", c.month);
        const QString html = QString::fromUtf8(written());
        for (const QString &text : c.present)
            EXPECT_TRUE(html.contains(text)) << c.month.toStdString() << ": " << text.toStdString();
        for (const QString &text : c.absent)
            EXPECT_FALSE(html.contains(text)) << c.month.toStdString() << ": " << text.toStdString();
        EXPECT_EQ(html.count("<img alt=\"Cost and time per day\" src=\"data:image/png;base64,iVBORw0KGgo"), c.charts)
            << c.month.toStdString();
    }
    EXPECT_EQ(proposedNames, QStringList({ "calls-2026-03.html", "calls-2026-02.html" }));
}

TEST_F(CallLogReportsTest, ChartShowsAMonthAndAYearAndTheFiguresOfABar)
{
    QStringList seen;
    QTimer::singleShot(0, [&] {
        QWidget *chart = QApplication::activeModalWidget();
        ASSERT_NE(chart, nullptr);
        auto *view = chart->findChild<UsageChartView *>(QStringLiteral("ChartView"));
        auto *period = chart->findChild<QLabel *>(QStringLiteral("LabelPeriod"));
        auto *figures = chart->findChild<QLabel *>(QStringLiteral("LabelFigures"));
        ASSERT_TRUE(view && period && figures);
        const auto clickBar = [&](int bar) {
            QTest::mouseClick(view, Qt::LeftButton, {}, view->barColumn(bar).center());
            seen << period->text() << figures->text();
        };
        clickBar(0); // 1 March
        chart->findChild<QAbstractButton *>(QStringLiteral("ButtonYear"))->click();
        clickBar(1); // February
        chart->findChild<QAbstractButton *>(QStringLiteral("ButtonPrevious"))->click();
        clickBar(1); // February of the year before: nothing
        QTest::keyClick(chart, Qt::Key_Right);
        seen << period->text() << chart->windowTitle();
        chart->findChild<QAbstractButton *>(QStringLiteral("ButtonData"))->click();
        clickBar(1); // February's bytes: none counted
        QTest::keyClick(chart, Qt::Key_Escape);
    });
    click("ButtonChart");
    EXPECT_EQ(seen,
        QStringList({ "March 2026", "1 March 2026\nHome: 2 calls, $ 1.60, 0:02:30\nTotal: 2 calls, $ 1.60, 0:02:30",
            "2026", "February 2026\n@Work: 1 call, $ 0.05, 0:02:00\nTotal: 1 call, $ 0.05, 0:02:00", "2025",
            "February 2025\nTotal: 0 calls, $ 0.00, 0:00:00", "2026", "Usage: All Providers", "2026",
            "February 2026\n@Work: 1 call, no data counted\nTotal: 1 call, no data counted" }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(CallLogReportsTest, ArchivedCallsCountInTheReportAndAreToldOfInTheWindow)
{
    // Home's call of 30 seconds at 0.30 on 1 March 08:00, moved out of a full log.
    CallRecord archived = core.log().records[1];
    archived.StartHour = archived.EndHour = 8;
    archived.StartMinute = archived.EndMinute = 0;
    archived.EndSecond = 30;
    archived.DurationSeconds = 30;
    archived.Cost = 3000;
    core.archiveLogRecords(QByteArray(reinterpret_cast<const char *>(&archived), sizeof archived));
    window.FillGridWithLog();
    auto *label = window.findChild<QLabel *>(QStringLiteral("LabelProvider"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->toolTip().startsWith(QStringLiteral("1 older call is in the archive")))
        << label->toolTip().toStdString();
    // Home before: 2 calls, 150 s, 1.60; with the archived call 3 calls, 180 s, 1.90.
    EXPECT_EQ(core.providers().records[0].TotalCalls, 3);
    EXPECT_EQ(core.providers().records[0].TotalSeconds, 180u);
    EXPECT_EQ(core.providers().records[0].TotalCost, 19000);

    click("ButtonReport");
    chooseFromMenu("MonthMenu", QStringLiteral("Current billing month"));
    const QString html = QString::fromUtf8(written());
    EXPECT_TRUE(html.contains(QStringLiteral("Total: 3 calls"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("$ 1.90")));
    // Oldest first: the archived call opens Home's list.
    EXPECT_LT(html.indexOf(QStringLiteral("2026-03-01 08:00:00")), html.indexOf(QStringLiteral("2026-03-01 09:00:00")));

    // The chart's bar of 1 March holds it too.
    QString figures;
    QTimer::singleShot(0, [&figures] {
        QWidget *chart = QApplication::activeModalWidget();
        ASSERT_NE(chart, nullptr);
        auto *view = chart->findChild<UsageChartView *>(QStringLiteral("ChartView"));
        ASSERT_NE(view, nullptr);
        QTest::mouseClick(view, Qt::LeftButton, {}, view->barColumn(0).center());
        figures = chart->findChild<QLabel *>(QStringLiteral("LabelFigures"))->text();
        QTest::keyClick(chart, Qt::Key_Escape);
    });
    click("ButtonChart");
    EXPECT_EQ(figures, QStringLiteral("1 March 2026\nHome: 3 calls, $ 1.90, 0:03:00\nTotal: 3 calls, $ 1.90, 0:03:00"));
}

TEST_F(CallLogReportsTest, SaveDialogsNeverStartInOrRememberAKernelFolder)
{
    QStringList folders;
    QStringList answers = { QStringLiteral("/proc/calls.csv"), target, target };
    auto *reports = window.findChild<CallLogReports *>();
    reports->setFileChooser([&](QWidget *, const QString &, const QString &proposed, const QString &) {
        folders.append(QFileInfo(proposed).absolutePath());
        return answers.takeFirst();
    });
    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->findChild<QAbstractButton *>(QStringLiteral("OK"))->click();
    });
    click("ButtonExport"); // into /proc: refused, and reported
    click("ButtonExport");
    click("ButtonExport");
    ASSERT_EQ(folders.size(), 3);
    EXPECT_NE(folders[1], QStringLiteral("/proc")) << "not remembered after the failed save";
    EXPECT_EQ(folders[1], folders[0]);
    EXPECT_EQ(folders[2], QFileInfo(target).absolutePath()) << "a plain folder is remembered";
    for (const QString &folder : folders)
        EXPECT_TRUE(QFileInfo(folder).isDir() && QFileInfo(folder).isWritable()) << folder.toStdString();
}
