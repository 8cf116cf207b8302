#include "gui/providers/TProviderEdit.h"

#include "core/connection/CallMonitor.h"
#include "core/skins/SkinLayout.h"
#include "core/tariffs/TariffTestData.h"
#include "gui/calllog/TEditCall.h"
#include "support/CallRecordTimes.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

const QString kNotActive = QStringLiteral("This Provider is not an active dialup connection in your system.");
constexpr double kSixteenthOfJanuary2026 = 46038; // 45 days before the fake clock's 2 March 2026

// Answers the next modal dialog by pressing the button with that object name,
// noting the texts it showed and the buttons it offered.
struct DialogAnswer {
    QStringList texts;
    QStringList buttons;
};

void answerNextDialog(const QString &buttonName, DialogAnswer &answer)
{
    QTimer::singleShot(0, [buttonName, &answer] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            answer.texts.append(label->text());
        for (const QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
            answer.buttons.append(button->objectName());
        auto *button = dialog->findChild<QAbstractButton *>(buttonName);
        ASSERT_NE(button, nullptr);
        button->click();
    });
}

CallRecord callOf(int provider, int year, int month, std::uint32_t seconds)
{
    CallRecord record {};
    setCallTimes(record, QDateTime(QDate(2000 + year, month, 3), QTime(0, 0)), seconds);
    record.ProviderIndex = std::uint8_t(provider);
    return record;
}

class TProviderEditTest : public ::testing::Test {
protected:
    TProviderEditTest()
    {
        QLocale::setDefault(QLocale::c());
        core.setCurrencyText(QStringLiteral(" \u00A3 "));
    }
    ~TProviderEditTest() override { QLocale::setDefault(QLocale::system()); }

    void addProviders(std::initializer_list<const char *> names)
    {
        ProviderRegistry registry(core.providers(), service);
        for (const char *name : names)
            registry.ProviderDBadd(QString::fromLatin1(name));
        core.providers().Current = 0;
    }
    Provider &record(int index) { return core.providers().records[index]; }
    void addCall(const CallRecord &call) { core.log().records[core.log().Count++] = call; }

    void open()
    {
        dialog = std::make_unique<TProviderEdit>(core, service);
        dialog->show();
    }
    template <typename T = QWidget> T *child(const char *name)
    {
        T *widget = dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QString labelText(const char *name) { return child<QLabel>(name)->text(); }
    void setText(const char *name, const QString &text) { child<QLineEdit>(name)->setText(text); }
    void click(const char *name) { child<QAbstractButton>(name)->click(); }
    bool enabled(const char *name) { return child(name)->isEnabled(); }

    QTemporaryDir dir;
    FakeClock clock; // 2 March 2026, 10:00
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService service;
    AppCore core { QDir(dir.path()).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, service } };
    std::unique_ptr<TProviderEdit> dialog;
};

} // namespace

TEST_F(TProviderEditTest, ShowsTheSelectedProvidersCountersAndAccount)
{
    addProviders({ "Home ISP", "Work", "Spare" });
    Provider &work = record(1);
    work.TodaySeconds = 3661;
    work.TodayCost = 12345;
    work.TodayCalls = 3;
    work.MonthCost = 123456789;
    work.TotalSeconds = 10000 * 3600;
    work.MonthlyFee = 100000;
    work.StartedOn = kSixteenthOfJanuary2026;
    work.MonthStartDay = 5;
    work.MonthlyHourLimit = 10;
    work.ExtraPerHour = 20000;
    addCall(callOf(1, 25, 11, 12 * 3600 + 59 * 60)); // two hours past the limit
    addCall(callOf(1, 25, 12, 9 * 3600));
    addCall(callOf(0, 25, 12, 90 * 3600)); // another provider's
    core.providers().Current = 1;
    open();

    EXPECT_EQ(labelText("LabelProviderName"), QStringLiteral("Work"));
    EXPECT_EQ(labelText("LabelTodayDuration"), QStringLiteral("0001:01:01 "));
    EXPECT_EQ(labelText("LabelTodayCost"), QStringLiteral("              1.23 "));
    EXPECT_EQ(labelText("LabelMonthCost"), QStringLiteral("         12,345.68 "));
    EXPECT_EQ(labelText("LabelTodateDuration"), QStringLiteral("10000:00:00 "));
    EXPECT_EQ(labelText("LabelTodayCalls"), QStringLiteral("3 "));
    EXPECT_EQ(labelText("LabelStartedOn"), QStringLiteral("16/01/26 "));
    EXPECT_EQ(labelText("LabelMonthStartDay"), QStringLiteral("5 "));
    EXPECT_EQ(labelText("LabelHourLimit"), QStringLiteral("10 "));
    EXPECT_EQ(labelText("LabelExtraPerHour"), QStringLiteral("              2.00 "));
    for (const char *currency : { "LabelCurrencyToday", "LabelCurrencyMonth", "LabelCurrencyTodate",
             "LabelCurrencyCharges", "LabelCurrencyMonthlyFee", "LabelCurrencyExtraPerHour" })
        EXPECT_EQ(labelText(currency), QStringLiteral("\u00A3")) << currency;

    // One 30-day period of 10.00 and two extra hours at 2.00; viewing stores it.
    EXPECT_EQ(labelText("LabelChargesTodate"), QStringLiteral("             14.00 "));
    EXPECT_EQ(work.ChargesTodate, 140000);

    EXPECT_TRUE(enabled("GTextButton6"));
    EXPECT_TRUE(enabled("GTextButton7"));
    EXPECT_FALSE(enabled("ButtonSave"));
    EXPECT_FALSE(enabled("ButtonCancel"));
    EXPECT_FALSE(child("EditTodayDuration")->isVisible());
}

TEST_F(TProviderEditTest, EditingAProviderReachesTheTable)
{
    addProviders({ "Home ISP" });
    open();
    click("ButtonEdit");
    EXPECT_TRUE(enabled("ButtonSave"));
    EXPECT_TRUE(enabled("ButtonCancel"));
    for (const char *name : { "ButtonEdit", "ButtonClose", "ButtonEditConnection", "GTextButton6", "GTextButton7" })
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_TRUE(child("EditTodayDuration")->isVisible());

    setText("EditTodayDuration", QStringLiteral("0002:30:15"));
    setText("EditTodayCost", QStringLiteral("3.50"));
    setText("EditTodayCalls", QStringLiteral("4"));
    setText("EditTodateCalls", QStringLiteral("120"));
    setText("DateEdit1", QStringLiteral("16/01/26"));
    setText("CurrencyEdit1", QStringLiteral("10.00"));
    child<QSpinBox>("SpinEdit2")->setValue(15);
    child<QSpinBox>("SpinEdit1")->setValue(10);
    setText("CurrencyEdit2", QStringLiteral("2.00"));
    QTest::keyClick(child("CurrencyEdit2"), Qt::Key_Return); // Save

    const Provider &saved = record(0);
    EXPECT_EQ(saved.TodaySeconds, 9015u);
    EXPECT_EQ(saved.TodayCost, 35000);
    EXPECT_EQ(saved.TodayCalls, 4);
    EXPECT_EQ(saved.TotalCalls, 120);
    EXPECT_EQ(saved.StartedOn, kSixteenthOfJanuary2026);
    EXPECT_EQ(saved.MonthlyFee, 100000);
    EXPECT_EQ(saved.MonthStartDay, 15);
    EXPECT_EQ(saved.MonthlyHourLimit, 10);
    EXPECT_EQ(saved.ExtraPerHour, 20000);
    EXPECT_EQ(saved.ChargesTodate, 100000);
    EXPECT_EQ(labelText("LabelTodayCalls"), QStringLiteral("4 "));
    EXPECT_EQ(labelText("LabelChargesTodate"), QStringLiteral("             10.00 "));
    EXPECT_FALSE(enabled("ButtonSave"));
    EXPECT_TRUE(enabled("ButtonEdit"));
    EXPECT_FALSE(child("EditTodayDuration")->isVisible());
}

TEST_F(TProviderEditTest, AWrongFieldIsNamedAndNothingIsWritten)
{
    addProviders({ "Home ISP" });
    record(0).MonthCalls = 7;
    open();
    const Provider before = record(0);
    click("ButtonEdit");
    setText("EditTodayCost", QStringLiteral("9.99")); // a good field before the bad one
    setText("EditMonthCalls", QStringLiteral("12a"));
    setText("CurrencyEdit2", QStringLiteral("x"));
    DialogAnswer answer;
    answerNextDialog(QStringLiteral("OK"), answer);
    click("ButtonSave");

    EXPECT_EQ(std::memcmp(&before, &record(0), sizeof(Provider)), 0) << "nothing written";
    EXPECT_TRUE(answer.texts.join(QLatin1Char('\n')).contains(QStringLiteral("This Month: Calls")))
        << answer.texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(answer.texts.join(QLatin1Char('\n')).contains(QStringLiteral("'12a' is not a whole number.")));
    EXPECT_TRUE(enabled("ButtonSave")) << "still editing, the edits kept";
    EXPECT_EQ(child<QLineEdit>("EditTodayCost")->text(), QStringLiteral("9.99"));

    setText("EditMonthCalls", QStringLiteral("12"));
    setText("CurrencyEdit2", QStringLiteral("2.00"));
    click("ButtonSave");
    EXPECT_EQ(record(0).MonthCalls, 12);
    EXPECT_EQ(record(0).TodayCost, 99900);
}

TEST_F(TProviderEditTest, CancelAndEscapeDiscardTheEdits)
{
    addProviders({ "Home ISP" });
    record(0).TodayCalls = 2;
    open();
    for (const bool escape : { false, true }) {
        click("ButtonEdit");
        setText("EditTodayCalls", QStringLiteral("99"));
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            click("ButtonCancel");
        EXPECT_EQ(record(0).TodayCalls, 2);
        EXPECT_EQ(labelText("LabelTodayCalls"), QStringLiteral("2 "));
        EXPECT_FALSE(enabled("ButtonCancel"));
        EXPECT_TRUE(dialog->isVisible()) << "leaving edit mode does not close";
    }
}

TEST_F(TProviderEditTest, AStartDateNeverSetStaysUnset)
{
    addProviders({ "Home ISP" });
    record(0).MonthlyFee = 100000;
    record(0).ChargesTodate = 50000; // from an earlier computation
    open();
    EXPECT_EQ(labelText("LabelStartedOn"), QString());
    EXPECT_EQ(labelText("LabelChargesTodate"), QStringLiteral("              0.00 "));
    EXPECT_EQ(record(0).ChargesTodate, 0) << "no fee before the account starts";

    click("ButtonEdit");
    click("ButtonSave");
    EXPECT_EQ(record(0).StartedOn, 0.0);
    EXPECT_EQ(labelText("LabelStartedOn"), QString());
}

TEST_F(TProviderEditTest, SteppingSelectsTheProviderForTheMainWindow)
{
    addProviders({ "Home ISP", "Work", "Spare" });
    record(2).StartedOn = kSixteenthOfJanuary2026;
    record(2).MonthlyFee = 50000;
    open();
    EXPECT_FALSE(enabled("GTextButton6"));
    click("GTextButton7");
    click("GTextButton7");
    EXPECT_EQ(core.providers().Current, 2);
    EXPECT_EQ(labelText("LabelProviderName"), QStringLiteral("Spare"));
    EXPECT_FALSE(enabled("GTextButton7"));
    EXPECT_EQ(record(2).ChargesTodate, 50000) << "viewing refreshes the stored charges";
    click("GTextButton6");
    EXPECT_EQ(labelText("LabelProviderName"), QStringLiteral("Work"));
    click("ButtonClose");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(core.providers().Current, 1);
}

TEST_F(TProviderEditTest, EditConnectOpensTheServicesEditorOrSaysTheEntryIsGone)
{
    addProviders({ "Home ISP" });
    open();
    click("ButtonEditConnection");
    EXPECT_EQ(service.editedEntries, std::vector<std::string> { "Home ISP" });

    // Closing the service's editor says nothing; a message would wait for an answer here.
    service.failEditEntry = dialup::kErrorCancelled;
    click("ButtonEditConnection");
    EXPECT_EQ(service.editedEntries.size(), 2U);

    service.failEditEntry = 623;
    DialogAnswer answer;
    answerNextDialog(QStringLiteral("OK"), answer);
    click("ButtonEditConnection");
    EXPECT_TRUE(answer.texts.contains(kNotActive)) << answer.texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(answer.buttons.contains(QStringLiteral("OK")));
    EXPECT_TRUE(answer.buttons.contains(QStringLiteral("Cancel")));
}

TEST_F(TProviderEditTest, ChargesFollowOnlyTheFocusedControl)
{
    addProviders({ "Home ISP" });
    record(0).StartedOn = kSixteenthOfJanuary2026;
    record(0).MonthlyFee = 100000;
    open();
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    click("ButtonEdit");
    auto *fee = child<QLineEdit>("CurrencyEdit1");

    fee->setText(QStringLiteral("20.00")); // the focus is on the Today duration
    EXPECT_EQ(labelText("LabelChargesTodate"), QStringLiteral("             10.00 "));

    fee->setFocus();
    ASSERT_TRUE(fee->hasFocus());
    fee->selectAll();
    QTest::keyClicks(fee, QStringLiteral("30"));
    EXPECT_EQ(labelText("LabelChargesTodate"), QStringLiteral("             30.00 "));
    QTest::keyClicks(fee, QStringLiteral(".5.")); // half-typed: the last charges stand
    EXPECT_EQ(labelText("LabelChargesTodate"), QStringLiteral("             30.50 "));
}

TEST_F(TProviderEditTest, AnEmptyTableKeepsTheDesignTexts)
{
    open();
    EXPECT_EQ(labelText("LabelProviderName"), QStringLiteral("Dial-Up Connection name"));
    click("ButtonEdit");
    EXPECT_FALSE(enabled("ButtonSave"));
    click("ButtonEditConnection");
    EXPECT_TRUE(service.editedEntries.empty());
    click("GTextButton7");
    EXPECT_EQ(core.providers().Current, 0);
}

// The drop-down of every date field is drawn in the skin's accent colour;
// the platform's own took the field's text colour for its arrow and showed a
// blank square.
TEST_F(TProviderEditTest, DateFieldsShowTheirCalendarButton)
{
    addProviders({ "Home ISP" });
    CallRecord call {};
    call.StartDay = 2;
    call.StartMonth = 3;
    call.StartYear = 26;
    call.EndDay = 2;
    call.EndMonth = 3;
    call.EndYear = 26;
    addCall(call);
    open();
    dialog->findChild<QAbstractButton *>(QStringLiteral("ButtonEdit"))->click();
    TEditCall editor(core, 0);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));

    const QColor accent = QColor::fromRgb(SkinLayout::kAccent);
    const std::pair<QWidget *, int> buttons[] = {
        { dialog->findChild<QWidget *>(QStringLiteral("DateEdit1Calendar")), 0 },
        { editor.findChild<QWidget *>(QStringLiteral("DateEdit1")), 22 },
        { editor.findChild<QWidget *>(QStringLiteral("DateEdit2")), 22 },
    };
    for (const auto &[widget, width] : buttons) {
        ASSERT_NE(widget, nullptr);
        const QImage shot = widget->grab().toImage();
        const int from = width ? shot.width() - width : 0;
        int painted = 0;
        for (int x = from; x < shot.width(); ++x)
            for (int y = 0; y < shot.height(); ++y) {
                const QColor pixel = shot.pixelColor(x, y);
                painted += std::abs(pixel.red() - accent.red()) + std::abs(pixel.green() - accent.green())
                        + std::abs(pixel.blue() - accent.blue())
                    < 30;
            }
        EXPECT_GT(painted, 40) << widget->objectName().toStdString();
    }
}

TEST_F(TProviderEditTest, EditThenSaveKeepsEveryFieldNobodyTouched)
{
    addProviders({ "Home ISP" });
    Provider &p = record(0);
    p.TotalCost = 328'007'232'565'100; // 32,800,723,256.51
    p.MonthCost = 9'223'372'036'854'775'807; // the largest amount a record holds
    p.TodayCost = 12'345; // 1.2345: shown to two decimals only
    p.MonthlyFee = 1'000'000'000'000'000; // 100,000,000,000.00
    p.ExtraPerHour = 999'999'999'999'999;
    p.MonthStartDay = 0; // from a file written before the day was asked for
    p.MonthlyHourLimit = 65535;
    const Provider before = p;
    open();
    click("ButtonEdit");
    // Shown whole, not cut to a field's usual length.
    EXPECT_EQ(child<QLineEdit>("EditTodateCost")->text(), QStringLiteral("32,800,723,256.51"));
    EXPECT_EQ(child<QLineEdit>("EditMonthCost")->text(), QStringLiteral("922,337,203,685,477.58"));
    EXPECT_EQ(child<QLineEdit>("CurrencyEdit1")->text(), QStringLiteral("100,000,000,000.00"));
    EXPECT_EQ(child<QSpinBox>("SpinEdit2")->value(), 0);
    EXPECT_EQ(child<QSpinBox>("SpinEdit1")->value(), 65535);
    click("ButtonSave");
    EXPECT_FALSE(enabled("ButtonSave")) << "saved without complaint";
    EXPECT_EQ(p.TotalCost, before.TotalCost);
    EXPECT_EQ(p.MonthCost, before.MonthCost);
    EXPECT_EQ(p.TodayCost, before.TodayCost);
    EXPECT_EQ(p.MonthlyFee, before.MonthlyFee);
    EXPECT_EQ(p.ExtraPerHour, before.ExtraPerHour);
    EXPECT_EQ(p.MonthStartDay, 0);
    EXPECT_EQ(p.MonthlyHourLimit, 65535);

    // A field the user changes is still read and checked.
    click("ButtonEdit");
    setText("EditTodateCost", QStringLiteral("32,800,723,256.50"));
    click("ButtonSave");
    EXPECT_EQ(p.TotalCost, 328'007'232'565'000);
}

// A call runs on while the dialog is in edit mode: Save keeps what the call
// added to every total the user left alone, and what the user typed in the one
// field changed.
TEST_F(TProviderEditTest, SavingDuringACallKeepsWhatTheCallAddedToUntouchedTotals)
{
    service.entries = { "Home ISP" };
    tariffdata::fill(core.tariffs(), { tariffdata::rate(2, 1, 100) }); // 0.01 a second
    CallMonitor monitor { monitorParts(core), service, clock };
    monitor.startUp();
    Provider &p = record(0);
    p.TodaySeconds = 600;
    p.TodayCost = 20'000;
    p.TodayCalls = 2;
    p.MonthSeconds = 7'200;
    p.MonthCost = 150'000;
    p.MonthCalls = 10;
    p.TotalSeconds = 36'000;
    p.TotalCost = 900'000;
    p.TotalCalls = 40;
    const auto tick = [&](int seconds) {
        for (int i = 0; i < seconds; ++i) {
            clock.advanceSeconds(1);
            monitor.tick();
        }
    };
    open();
    service.connect("Home ISP");
    tick(10); // the first tick finds the call and counts its first second
    click("ButtonEdit");
    setText("EditMonthCalls", QStringLiteral("12"));
    tick(20);
    click("ButtonSave");
    ASSERT_FALSE(enabled("ButtonSave")) << "saved";

    // 30 seconds at 0.01 each, one more call.
    EXPECT_EQ(p.TodaySeconds, 630u);
    EXPECT_EQ(p.TodayCost, 23'000);
    EXPECT_EQ(p.TodayCalls, 3);
    EXPECT_EQ(p.MonthSeconds, 7'230u);
    EXPECT_EQ(p.MonthCost, 153'000);
    EXPECT_EQ(p.MonthCalls, 12) << "typed by the user";
    EXPECT_EQ(p.TotalSeconds, 36'030u);
    EXPECT_EQ(p.TotalCost, 903'000);
    EXPECT_EQ(p.TotalCalls, 41);
    EXPECT_EQ(labelText("LabelTodayDuration"), QStringLiteral("0000:10:30 "));
    EXPECT_EQ(labelText("LabelTodateCost").trimmed(), QStringLiteral("90.30"));
}

// Twelve whole months of a fee too large for a field of usual length: the
// charges are the fee to its last digit times twelve, shown and edited alike.
TEST_F(TProviderEditTest, ChargesOfALargeFeeAreExactToTheCent)
{
    addProviders({ "Home ISP" });
    record(0).StartedOn = 45704; // 16 February 2025: twelve whole months before the fake clock's 2 March 2026
    record(0).MonthlyFee = 123'456'789'012'345; // 12,345,678,901.2345
    // 12 x 12,345,678,901.2345 = 148,148,146,814.814
    const QString expected = QStringLiteral("148,148,146,814.81");
    open();
    EXPECT_EQ(labelText("LabelChargesTodate").trimmed(), expected) << "shown";
    click("ButtonEdit");
    EXPECT_EQ(labelText("LabelChargesTodate").trimmed(), expected) << "editing";
    click("ButtonSave");
    EXPECT_EQ(record(0).MonthlyFee, 123'456'789'012'345);
    EXPECT_EQ(labelText("LabelChargesTodate").trimmed(), expected) << "saved";
    EXPECT_EQ(record(0).ChargesTodate, 1'481'481'468'148'140);
}

// Calls moved to the archive still count for the hours beyond the monthly
// limit, in the dialog and after a restart reads the archive back.
TEST_F(TProviderEditTest, ChargesTodateCountTheExtraHoursOfArchivedCalls)
{
    addProviders({ "Home ISP", "Work" });
    Provider &work = record(1);
    work.StartedOn = kSixteenthOfJanuary2026; // one whole period of 10.00
    work.MonthlyFee = 100000;
    work.MonthlyHourLimit = 10;
    work.ExtraPerHour = 20000;
    const std::vector<CallRecord> archived { callOf(1, 25, 12, 7 * 3600), callOf(0, 25, 12, 40 * 3600),
        callOf(1, 26, 1, 11 * 3600) };
    core.archiveLogRecords(
        QByteArray(reinterpret_cast<const char *>(archived.data()), qsizetype(archived.size() * sizeof(CallRecord))));
    addCall(callOf(1, 25, 12, 5 * 3600 + 30 * 60));
    addCall(callOf(1, 26, 2, 3600));
    core.providers().Current = 1;
    // December 12 h 30 (7 h archived): 2 extra hours; January 11 h, all
    // archived: 1; February 1 h: none. 10.00 + 3 x 2.00.
    const QString expected = QStringLiteral("16.00");
    open();
    EXPECT_EQ(labelText("LabelChargesTodate").trimmed(), expected);
    EXPECT_EQ(work.ChargesTodate, 160000);

    dialog.reset();
    core.saveEverything();
    AppCore restarted { QDir(dir.path()).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, service } };
    restarted.loadAll();
    ASSERT_EQ(restarted.archivedCalls().size(), archived.size());
    restarted.providers().Current = 1;
    TProviderEdit reopened(restarted, service);
    reopened.show();
    EXPECT_EQ(reopened.findChild<QLabel *>(QStringLiteral("LabelChargesTodate"))->text().trimmed(), expected);
}
