#include "LayoutChecker.h"

#include "core/app/AppCore.h"
#include "core/calllog/CallLogEdits.h"
#include "core/calllog/EditCallForm.h"
#include "core/providers/ProviderRegistry.h"
#include "core/reports/CallReport.h"
#include "core/skins/SkinLayout.h"
#include "core/skins/SkinLibrary.h"
#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/calllog/TEditCall.h"
#include "gui/connection/TConnectDlg.h"
#include "gui/controls/SkinLook.h"
#include "gui/dialogs/TAbout.h"
#include "gui/dialogs/TSettings.h"
#include "gui/dialogs/Tsplash.h"
#include "gui/messages/SkinDamageReport.h"
#include "gui/messages/TDynaMessageBoxDlg.h"
#include "gui/messages/TMessDlg.h"
#include "gui/providers/ProviderChooser.h"
#include "gui/providers/TProviderEdit.h"
#include "gui/reports/TUsageChart.h"
#include "gui/reports/UsageChartView.h"
#include "gui/tariffs/TCallCharges.h"

#include "support/FakeAppCore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString kLongName = QString(64, QLatin1Char('W'));
constexpr MoneyValue kLargestAmount = 999'999'999'900; // 99,999,999.99
constexpr MoneyValue kBillions = 29'000'000'000'000; // 2,900,000,000.00: a year of a busy office's totals
constexpr MoneyValue kLargestCallCost = 99'999'999'900; // 9,999,999.99
constexpr std::uint32_t kLongestCall = 9999 * 3600 + 59 * 60 + 59;
constexpr int kLongestProviderList = 376;

// The windows are read in the look the program gives the application at start.
class ProgramLook final : public ::testing::Environment {
public:
    void SetUp() override { SkinLook::applyToApplication(*qApp); }
};
const ::testing::Environment *const kProgramLook = ::testing::AddGlobalTestEnvironment(new ProgramLook);

// Lets a failing run leave its pictures for a look.
void keepPicture(QWidget &window, const QString &state)
{
    const QString folder = qEnvironmentVariable("TOLLWISE_LAYOUT_PICTURES");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(window.objectName() + QLatin1Char('-') + state + ".png"));
}

// A name as long as the tables keep, told apart from its neighbours at the end.
QString longName(int number)
{
    const QString tail = QString::number(number);
    return QString(64 - tail.size(), QLatin1Char('W')) + tail;
}

QWidget *topLevel(const QString &name)
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == name)
            return widget;
    return nullptr;
}

void expectMenuReadable(QMenu *menu, const QWidget *field, const QString &state)
{
    ASSERT_NE(menu, nullptr) << state.toStdString();
    QCoreApplication::processEvents();
    keepPicture(*menu, state);
    const QStringList faults = LayoutChecker().checkMenu(*menu, field);
    EXPECT_TRUE(faults.isEmpty()) << state.toStdString() << ":\n" << faults.join(QLatin1Char('\n')).toStdString();
    menu->hide();
}

void expectReadable(QWidget &window, const LayoutChecker &checker, const QString &state)
{
    window.show();
    QCoreApplication::processEvents();
    keepPicture(window, state);
    const QStringList faults = checker.check(window);
    EXPECT_TRUE(faults.isEmpty()) << state.toStdString() << ":\n" << faults.join(QLatin1Char('\n')).toStdString();
}

// A program folder with the default skin, one per test.
class LayoutTest : public ::testing::Test, protected FakeAppCore {
protected:
    void SetUp() override
    {
        const QDir from(QStringLiteral(TOLLWISE_SKIN_FOLDER));
        QDir to(dir.path());
        to.mkpath(QStringLiteral("skins/default"));
        for (const QString &file : from.entryList(QDir::Files))
            QFile::copy(from.filePath(file), to.filePath(QStringLiteral("skins/default/") + file));
        SkinLibrary::setProgramFolder(dir.path());
        core.loadAll();
        core.setCurrencyText(QStringLiteral("EUR "));
    }

    void fillProviders(int count = 2, MoneyValue totals = kLargestAmount)
    {
        ProviderTable &table = core.providers();
        table.Count = std::uint16_t(count);
        for (int i = 0; i < count; ++i) {
            Provider &p = table.records[i];
            p.Name.setText(i < 2 ? kLongName : longName(i));
            p.TodaySeconds = p.MonthSeconds = p.TotalSeconds = 99'999 * 3600 + 59 * 60 + 59;
            p.TodayCost = p.MonthCost = p.TotalCost = totals;
            p.MonthlyFee = p.ExtraPerHour = kLargestAmount;
            p.TodayCalls = p.MonthCalls = p.TotalCalls = 65000;
            p.MonthlyHourLimit = 65534;
            p.MonthStartDay = 31;
        }
    }

    void fillLog(int calls, int providers = 2)
    {
        CallLogTable &log = core.log();
        for (int i = 0; i < calls; ++i) {
            CallRecord &r = log.records[log.Count++];
            // A whole day, 28 December 08:00 to 29 December 08:00: a call ends its seconds after it starts.
            r.StartDay = 28;
            r.EndDay = 29;
            r.StartMonth = r.EndMonth = 12;
            r.StartYear = r.EndYear = 26;
            r.StartHour = r.EndHour = 8;
            r.StartMinute = r.StartSecond = 0;
            r.EndMinute = r.EndSecond = 0;
            r.ProviderIndex = std::uint8_t(i % providers);
            r.DurationSeconds = 24 * 3600;
            // One call near the largest amount, the rest a cent: the total is the largest.
            r.Cost = i == 0 ? kLargestAmount - (calls - 1) * 100 : 100;
            r.TariffId = 1;
        }
    }

    Tariff &addTariff(std::uint8_t kind, std::uint32_t value)
    {
        TariffTable &tariffs = core.tariffs();
        Tariff &t = tariffs.records[tariffs.Count++];
        t = Tariff {};
        t.IdNumber = ++tariffs.LastTariffIdNumber;
        t.Name.setText(kLongName);
        t.StartTime = 0;
        t.FinishTime = 86399;
        t.UnitKind = 3;
        t.SecondsPerPulse = 65534;
        t.ChargeKind = 1;
        t.UnitCost = t.MinCharge = kLargestAmount;
        t.AppliesTo = kind;
        t.AppliesValue = value;
        t.DateFrom = 46082;
        t.DateTo = 46091;
        t.Colour = 0x00102040;
        return t;
    }
};

LayoutChecker providerChecker()
{
    LayoutChecker checker;
    checker.setPaintedTexts({ "Provider account", "Duration", "Dial-up Connection Cost", "Calls", "Today", "This Month",
        "Todate", "Charges Todate", "Started with Provider on", "Monthly Fee", "Month starts on which day",
        "Monthly limit of hours", "For each hour after, add" });
    return checker;
}

LayoutChecker tariffChecker()
{
    LayoutChecker checker;
    checker.setPaintedTexts({ "Tariffs", "Name of Tariff", "Start charging at", "Finish charging at",
        "A charging unit is", "Seconds per pulse", "Type of Charge", "Minimum charge", "Colour", "Applies to" });
    return checker;
}

LayoutChecker callLogChecker()
{
    LayoutChecker checker;
    checker.allowOverlap(QStringLiteral("sg"), QStringLiteral("GSlider1")); // the slider stands over the grid's edge
    return checker;
}

void click(QWidget &window, const char *name)
{
    auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

} // namespace

TEST_F(LayoutTest, CallLogEmptyAndFullInBothStatisticsModes)
{
    fillProviders();
    for (const int calls : { 0, 40 }) {
        fillLog(calls);
        addTariff(1, 0);
        TCallLog window;
        window.attach(core, [] {});
        window.resize(TCallLog::kWidth, 400);
        window.show();
        window.FillGridWithLog();
        const QString state = calls ? QStringLiteral("full") : QStringLiteral("empty");
        expectReadable(window, callLogChecker(), state + "-captions");
        for (int k = 1; k <= 8; ++k)
            click(window, qPrintable(QStringLiteral("GTextButton%1").arg(k)));
        expectReadable(window, callLogChecker(), state + "-values");
    }
}

TEST_F(LayoutTest, ProviderAccountInDisplayAndEditMode)
{
    fillProviders();
    TProviderEdit dialog(core, dialUp);
    expectReadable(dialog, providerChecker(), QStringLiteral("display"));
    click(dialog, "ButtonEdit");
    expectReadable(dialog, providerChecker(), QStringLiteral("edit"));
}

TEST_F(LayoutTest, TariffEditorOnEveryKindOfDaysAndEveryMonth)
{
    addTariff(1, 0);
    addTariff(2, 1 | 4 | 64);
    addTariff(2, 127);
    addTariff(3, 22);
    for (std::uint32_t month = 1; month <= 12; ++month)
        addTariff(4, month);
    addTariff(5, 2026);
    addTariff(6, 0);
    addTariff(7, 0).UnitCost = 3'456'789'012'500; // 345,678,901.25: more than a call could cost
    const int count = core.tariffs().Count;
    for (int index = 0; index < count; ++index) {
        core.tariffs().CurrentIndex = std::uint16_t(index);
        TCallCharges editor(core);
        expectReadable(editor, tariffChecker(), QStringLiteral("tariff-%1").arg(index));
        if (index == 0) {
            click(editor, "ButtonEdit");
            expectReadable(editor, tariffChecker(), QStringLiteral("editing"));
        }
    }
    core.tariffs().Count = 0;
    TCallCharges empty(core);
    expectReadable(empty, tariffChecker(), QStringLiteral("empty"));
}

TEST_F(LayoutTest, NoCurrencySymbolShowsNoEmptyBrackets)
{
    core.setCurrencyText(QStringLiteral(" "));
    addTariff(1, 0);
    TCallCharges editor(core);
    expectReadable(editor, tariffChecker(), QStringLiteral("no-symbol"));
    TSettings settings(core);
    expectReadable(settings, {}, QStringLiteral("no-symbol"));
    fillLog(3);
    TCallLog log;
    log.attach(core, [] {});
    log.resize(TCallLog::kWidth, 300);
    log.show();
    log.FillGridWithLog();
    expectReadable(log, callLogChecker(), QStringLiteral("no-symbol"));
}

TEST_F(LayoutTest, SmallDialogsAndPictures)
{
    fillProviders();
    fillLog(1);
    TEditCall edit(core, 0);
    expectReadable(edit, {}, QStringLiteral("call"));
    TSettings settings(core);
    expectReadable(settings, {}, QStringLiteral("settings"));
    TConnectDlg connect;
    connect.showProgress(kLongName);
    expectReadable(connect, {}, QStringLiteral("dialling"));
    TAbout about;
    expectReadable(about, {}, QStringLiteral("about"));
    Tsplash splash;
    expectReadable(splash, {}, QStringLiteral("splash"));
}

TEST_F(LayoutTest, EveryMessageFitsItsDialog)
{
    // The program's longest messages, as the windows word them.
    const QString texts[] = {
        QStringLiteral("This will completely romve this tariff from your Tariffs Data File.\r\rPress Okay to Delete "
                       "this, or \rPress Cancel to abort the deletion.\rNOTE: If you have used this Tariff for call "
                       "logging then you could get undesirable results"),
        QStringLiteral("Dialtally could not write the file\r%1\r\r%2\r\rYour data is kept in memory and will be "
                       "written again at the end of the next call and when the program closes.")
            .arg(QStringLiteral("/home/user/programs/tollwise/Providers.data"),
                QStringLiteral("No space left on device")),
        QStringLiteral("You have a tariff (%1) already defined for\rthis time/date/day you have just edited.\r\rPress "
                       "Okay to go back and reedit your data, or \rPress Cancel to add this new data, (but you could "
                       "get undesirable results)")
            .arg(QStringLiteral("Weekday evenings and nights for the provider at home, all winter")),
        QStringLiteral("If you close Dialtally then this program\rcannot monitor and log your connections\rfrom other "
                       "programs\r\rAre you sure you want to exit?"),
        QStringLiteral("The call log is full.\r\rThe 8192 oldest calls have been moved to\r/home/user/programs/"
                       "tollwise/Log-2026-12-09.data\rto make room for new calls."),
        QStringLiteral("This Provider is not an active dialup connection in your system."),
        deleteQuestion(),
        clearQuestion(kLongName),
        editCallMessage(EditCallError::StartTime),
        editCallMessage(EditCallError::EndTime),
        editCallMessage(EditCallError::EndBeforeStart),
        editCallMessage(EditCallError::Cost),
        damagedSkinText(QStringLiteral("/home/user/programs/tollwise/skins/a skin with a long name/main.ubm"),
            QStringLiteral("Abnormal CompressedDIB Loading Terminaison !")),
    };
    std::uint8_t kind = 0;
    for (const QString &text : texts)
        for (const std::uint16_t buttons :
            { std::uint16_t(mbOK), std::uint16_t(mbOK | mbCancel), std::uint16_t(mbYes | mbNo) }) {
            TMessDlg dialog(kind++ % 4, text, buttons); // each kind's picture in turn
            expectReadable(dialog, {}, QStringLiteral("message"));
        }
    TDynaMessageBoxDlg box(400, 400, mtError, mbOK,
        QStringLiteral("The Providers Data File (Providers.data) used for Dialtally is Invalid.\r"
                       "I have renamed this file to \"MyInvalidFile.old\" so when the program "
                       "exits, a new file will be created"),
        QStringLiteral("Invalid Data File"), QStringLiteral("error"), [] {});
    expectReadable(box, {}, QStringLiteral("invalid-file"));
}

TEST_F(LayoutTest, UsageChartOfAFullMonthAndYear)
{
    fillProviders();
    fillLog(40);
    QList<int> all;
    for (int i = 0; i < core.log().Count; ++i)
        all.append(i);
    const QDate today(2026, 12, 28);
    for (const bool full : { false, true }) {
        TUsageChart chart(
            full ? reportCalls(core.log().records, core.providers(), core.tariffs(), all, today) : QList<ReportCall> {},
            kLongName, today, core.currencyText());
        chart.showMonth(2026, 12);
        expectReadable(chart, {}, full ? QStringLiteral("month") : QStringLiteral("empty"));
        chart.showYear(2026);
        expectReadable(chart, {}, full ? QStringLiteral("year") : QStringLiteral("empty-year"));
        // The calls have no bytes counted: the note under the plots says so.
        chart.showPlots(UsageChartPlots::Data);
        expectReadable(chart, {}, full ? QStringLiteral("data-year") : QStringLiteral("empty-data-year"));
        chart.showPlots(UsageChartPlots::CostAndTime);
    }
}

TEST_F(LayoutTest, MainWindowWithAndWithoutItsPicture)
{
    fillProviders();
    for (const bool withMain : { true, false }) {
        if (!withMain)
            QFile::remove(QDir(dir.path()).filePath(QStringLiteral("skins/default/main.ubm")));
        TCallLog callLog;
        TBlind blind;
        Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp },
            &callLog, &blind);
        expectReadable(app, {}, withMain ? QStringLiteral("skinned") : QStringLiteral("without-main"));
        expectReadable(blind, {}, QStringLiteral("handle"));
    }
}

TEST_F(LayoutTest, MainWindowDuringTheLargestCallWithBillionsAndLongTariffNames)
{
    fillProviders(2, kBillions);
    addTariff(1, 0).Name.setText(QStringLiteral("Ночной тариф Ростелеком для звонков в выходные и праздничные дни"));
    // A cheaper tariff on Fridays puts a second text on the tariff line.
    Tariff &friday = addTariff(2, 16);
    friday.Name.setText(QStringLiteral("Freitagstarif der Fernmeldegesellschaft Süd-West Nachtstunden"));
    friday.UnitCost = 100;
    dialUp.entries = { kLongName.toStdString() };
    core.saveEverything();
    TCallLog callLog;
    TBlind blind;
    Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp },
        &callLog, &blind);
    app.timer().stop();
    app.core().setCurrencyText(QStringLiteral("EUR "));
    // The log rebuilt the totals: these stand for a year of a busy office.
    ProviderTable &providers = app.core().providers();
    for (int i = 0; i < providers.Count; ++i) {
        Provider &p = providers.records[i];
        p.TodayCost = p.MonthCost = p.TotalCost = kBillions;
        p.TodaySeconds = 23 * 3600 + 59 * 60;
        p.MonthSeconds = p.TotalSeconds = kLongestCall;
    }
    app.monitor().tick();
    app.spending().update();
    expectReadable(app, {}, QStringLiteral("idle-billions"));
    app.monitor().startFakeCall();
    CurrentCall &call = app.core().currentCall();
    call.CallCost = kLargestCallCost;
    call.CallSeconds = kLongestCall;
    app.monitor().tick();
    app.spending().update();
    expectReadable(app, {}, QStringLiteral("largest-call"));
    app.monitor().endFakeCall();
}

TEST_F(LayoutTest, BillionsInTheCallLogAndTheAccount)
{
    fillProviders(2, kBillions);
    fillLog(40);
    core.log().records[0].Cost = kBillions;
    addTariff(1, 0);
    TCallLog window;
    window.attach(core, [] {});
    window.resize(TCallLog::kWidth, 400);
    window.show();
    window.FillGridWithLog();
    for (int k = 1; k <= 8; ++k)
        click(window, qPrintable(QStringLiteral("GTextButton%1").arg(k)));
    expectReadable(window, callLogChecker(), QStringLiteral("billions-values"));
    TProviderEdit dialog(core, dialUp);
    expectReadable(dialog, providerChecker(), QStringLiteral("billions"));
}

TEST_F(LayoutTest, ProviderListsHoldLongNamesOnTheScreen)
{
    fillProviders(kMaxProviders);
    for (int i = 0; i < kLongestProviderList; ++i)
        dialUp.entries.push_back(longName(i).toStdString());
    ProviderRegistry registry(core.providers(), dialUp);
    QLabel field;
    field.resize(SkinLayout::MainWindow::grpSelectedEntry.size());
    ProviderChooser chooser(registry, dialUp, nullptr, &field, {});
    chooser.ButtonChooseProviderClick();
    expectMenuReadable(
        qobject_cast<QMenu *>(topLevel(QStringLiteral("PopupMenu_DialUps"))), &field, QStringLiteral("phonebook"));

    fillLog(3);
    TCallLog log;
    log.attach(core, [] {});
    log.resize(TCallLog::kWidth, 400);
    log.show();
    log.FillGridWithLog();
    click(log, "ButtonChooseProvider");
    auto *filter = log.findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    expectMenuReadable(filter, log.findChild<QLabel *>(QStringLiteral("LabelProvider")), QStringLiteral("filter"));
    ASSERT_GT(filter->actions().size(), 1);
    filter->actions().at(1)->trigger();
    expectReadable(log, callLogChecker(), QStringLiteral("filtered-by-a-long-name"));
}

TEST_F(LayoutTest, PopUpMenusOfTheTariffEditorAndTheReports)
{
    addTariff(1, 0);
    TCallCharges editor(core);
    editor.show();
    click(editor, "ButtonEdit");
    for (const char *button : { "ButtonUnit", "ButtonCharge" }) {
        click(editor, button);
        QMenu *open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        expectMenuReadable(open, nullptr, QString::fromLatin1(button));
    }
    fillProviders();
    fillLog(40);
    TCallLog log;
    log.attach(core, [] {});
    log.resize(TCallLog::kWidth, 400);
    log.show();
    log.FillGridWithLog();
    click(log, "ButtonReport");
    expectMenuReadable(log.findChild<QMenu *>(QStringLiteral("MonthMenu")), nullptr, QStringLiteral("report"));
}

TEST_F(LayoutTest, CalendarsOpenReadable)
{
    fillProviders();
    TProviderEdit dialog(core, dialUp);
    dialog.show();
    click(dialog, "ButtonEdit");
    click(dialog, "DateEdit1Calendar");
    auto *calendar = dialog.findChild<QCalendarWidget *>(QStringLiteral("DateEdit1Popup"));
    ASSERT_NE(calendar, nullptr);
    expectReadable(*calendar, {}, QStringLiteral("account-calendar"));
    calendar->hide();

    addTariff(7, 0);
    fillLog(1);
    TCallCharges editor(core);
    editor.show();
    click(editor, "ButtonEdit");
    TEditCall edit(core, 0);
    edit.show();
    QList<QDateEdit *> fields = editor.findChildren<QDateEdit *>() + edit.findChildren<QDateEdit *>();
    ASSERT_FALSE(fields.isEmpty());
    for (QDateEdit *field : fields) {
        QWidget *popup = field->calendarWidget()->window();
        expectReadable(*popup, {}, QStringLiteral("calendar-") + field->objectName());
        popup->hide();
    }
}

TEST_F(LayoutTest, UsageChartFiguresOfTenProvidersForAClickedBar)
{
    fillProviders(10);
    fillLog(40, 10);
    QList<int> all;
    for (int i = 0; i < core.log().Count; ++i)
        all.append(i);
    const QDate today(2026, 12, 28);
    TUsageChart chart(reportCalls(core.log().records, core.providers(), core.tariffs(), all, today), kLongName, today,
        core.currencyText());
    chart.showMonth(2026, 12);
    chart.show();
    auto *view = chart.findChild<UsageChartView *>(QStringLiteral("ChartView"));
    ASSERT_NE(view, nullptr);
    emit view->barClicked(27);
    expectReadable(chart, {}, QStringLiteral("ten-providers"));
}

// Run on a screen of a user's size (the layout_screen_* tests); the
// offscreen default is smaller than any.
TEST_F(LayoutTest, EveryWindowOpensWithinReachOnItsScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QSizeF pixels = QSizeF(screen.size()) * QGuiApplication::primaryScreen()->devicePixelRatio();
    if (pixels.width() < 1024 || pixels.height() < 768)
        GTEST_SKIP() << "a screen of " << screen.width() << " x " << screen.height();
    fillProviders();
    fillLog(40);
    addTariff(1, 0);
    // Where a larger screen left them.
    core.settings().MainWindowLeft = screen.right() - 100;
    core.settings().MainWindowTop = screen.bottom() - 100;
    core.settings().CallLogHeight = screen.height();
    core.saveEverything();
    TCallLog callLog;
    TBlind blind;
    Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp },
        &callLog, &blind);
    app.timer().stop();
    expectReadable(app, {}, QStringLiteral("on-screen"));
    expectReadable(callLog, callLogChecker(), QStringLiteral("on-screen"));
    expectReadable(blind, {}, QStringLiteral("on-screen"));
    TCallCharges editor(app.core(), &app);
    expectReadable(editor, tariffChecker(), QStringLiteral("on-screen"));
    TProviderEdit account(app.core(), dialUp, &app);
    expectReadable(account, providerChecker(), QStringLiteral("on-screen"));
    TSettings settings(app.core(), &app);
    expectReadable(settings, {}, QStringLiteral("on-screen"));
    TEditCall edit(app.core(), 0, &app);
    expectReadable(edit, {}, QStringLiteral("on-screen"));
    TMessDlg message(mtConfirm, QStringLiteral("Are you sure you want to exit?"), mbYes | mbNo, &app);
    expectReadable(message, {}, QStringLiteral("on-screen"));
}
