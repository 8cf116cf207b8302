#include "gui/tariffs/TCallCharges.h"

#include "core/app/AppCore.h"
#include "core/pricing/CurrentCostRate.h"
#include "core/pricing/RateCaption.h"
#include "core/store/DateTimeValue.h"
#include "gui/controls/TGShape.h"
#include "gui/tariffs/TariffColourStrip.h"

#include "core/tariffs/TariffTestData.h"
#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QDateEdit>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Answers the next modal dialog by pressing the button with that object
// name, keeping the texts it showed.
void answerNextDialog(const QString &buttonName, QString *shown = nullptr)
{
    QTimer::singleShot(0, [buttonName, shown] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        if (shown) {
            for (const QLabel *label : dialog->findChildren<QLabel *>())
                *shown += label->text();
        }
        auto *button = dialog->findChild<QAbstractButton *>(buttonName);
        ASSERT_NE(button, nullptr);
        button->click();
    });
}

constexpr std::int32_t at(int h, int m, int s) { return h * 3600 + m * 60 + s; }

class TCallChargesTest : public ::testing::Test {
protected:
    TCallChargesTest()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        core.setCurrencyText(QStringLiteral("$ "));
    }
    ~TCallChargesTest() override { QLocale::setDefault(QLocale::c()); }

    // Puts a tariff into the table as if it had been saved before.
    void preload(const QString &name, std::uint8_t kind, std::uint32_t value, std::int32_t start, std::int32_t finish)
    {
        TariffTable &table = core.tariffs();
        Tariff &t = table.records[table.Count];
        t = tariffdata::tariff(start, finish, kind, value);
        t.IdNumber = ++table.LastTariffIdNumber;
        t.Name.setText(name);
        t.SecondsPerPulse = 60;
        t.UnitCost = 1000;
        t.Colour = 0x008000;
        ++table.Count;
    }

    TCallCharges &open()
    {
        editor = std::make_unique<TCallCharges>(core);
        editor->show();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        return *editor;
    }

    template <typename T> T *child(const char *name) const
    {
        T *widget = editor->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    void click(const char *buttonName) { QTest::mouseClick(child<QAbstractButton>(buttonName), Qt::LeftButton); }
    void type(const char *fieldName, const QString &text)
    {
        QWidget *field = child<QWidget>(fieldName);
        if (auto *line = qobject_cast<QLineEdit *>(field))
            line->clear();
        if (auto *box = qobject_cast<QAbstractSpinBox *>(field))
            box->selectAll();
        QTest::keyClicks(field, text);
    }
    void enterTime(const char *which, const QString &time)
    {
        const QStringList parts = time.split(QLatin1Char(':'));
        const char *const fields[] = { "Hours", "Minutes", "Seconds" };
        for (int i = 0; i < 3; ++i)
            type(qPrintable(QString::fromLatin1(which) + QString::fromLatin1(fields[i])), parts[i]);
    }
    void tickDays(std::uint32_t daySet)
    {
        click("ButtonDays");
        auto *days = child<QListWidget>("CheckListDays");
        for (int day = 0; day < 7; ++day)
            days->item(day)->setCheckState(daySet & (1u << day) ? Qt::Checked : Qt::Unchecked);
        click("ButtonDaysOkay");
    }
    QString captionAt(const QDateTime &moment)
    {
        SetCurrentCostRate(core.tariffs(), core.currentCall(), moment);
        return rateCaption(core.tariffs(), core.currentCall(), core.currencyText()).caption;
    }
    QString text(const char *labelName) const { return child<QLabel>(labelName)->text(); }
    bool editing() const { return child<QAbstractButton>("ButtonSave")->isEnabled(); }
    QAbstractItemModel *grid() const { return child<QTableView>("sg")->model(); }
    QString cell(int row, int column) const { return grid()->index(row, column).data().toString(); }
    void clickRow(int row)
    {
        auto *sg = child<QTableView>("sg");
        QTest::mouseClick(sg->viewport(), Qt::LeftButton, {}, sg->visualRect(grid()->index(row, 0)).center());
    }

    QTemporaryDir dir;
    FakeClock clock { QDateTime(QDate(2026, 3, 2), QTime(10, 0)) };
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core { QDir(dir.path()).filePath(QStringLiteral("tollwise")),
        AppServices { clock, sound, startup, dialUp } };
    std::unique_ptr<TCallCharges> editor;
};

} // namespace

TEST_F(TCallChargesTest, ATariffCreatedThroughTheEditorAppearsInTheTable)
{
    open();
    EXPECT_FALSE(child<QAbstractButton>("ButtonEdit")->isEnabled()) << "nothing to edit yet";
    auto *days = child<QListWidget>("CheckListDays");
    EXPECT_EQ(days->item(4)->checkState(), Qt::Unchecked);
    EXPECT_EQ(days->item(5)->checkState(), Qt::Checked) << "Saturday";
    EXPECT_EQ(days->item(6)->checkState(), Qt::Checked) << "Sunday";
    days->item(0)->setCheckState(Qt::Checked);
    EXPECT_EQ(text("LabelDays"), QStringLiteral("Sat Sun")) << "ticks count only while entering or editing";
    click("ButtonNew");
    EXPECT_EQ(child<QLineEdit>("EditName")->text(), QStringLiteral("Tariff 1"));
    EXPECT_TRUE(editing());
    EXPECT_FALSE(child<QAbstractButton>("ButtonClose")->isEnabled());

    type("EditName", QStringLiteral("Weekday peak"));
    type("EditStartHours", QStringLiteral("08"));
    type("EditFinishHours", QStringLiteral("17"));
    click("ButtonUnit");
    child<QMenu>("MenuUnit")->actions().at(2)->trigger(); // "Per Pulse/Unit"
    type("EditSecondsPerPulse", QStringLiteral("120"));
    type("EditUnitCost", QStringLiteral("0.30"));
    type("EditMinCharge", QStringLiteral("1,000.05"));
    auto *strip = child<TariffColourStrip>("ColourStrip");
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(strip->width() * 9 / 16 + 3, strip->height() / 2)); // red
    click("RadioKind2");
    click("ButtonDays");
    for (int day = 0; day < 7; ++day)
        days->item(day)->setCheckState(day < 5 ? Qt::Checked : Qt::Unchecked);
    EXPECT_EQ(child<QLabel>("LabelDays")->toolTip(), QStringLiteral("Mon Tue Wed Thur Fri "))
        << "the label may cut the days, its hint holds them all";
    click("ButtonDaysOkay");

    QTest::keyClick(child<QWidget>("EditName"), Qt::Key_Return);

    const TariffTable &table = core.tariffs();
    ASSERT_EQ(table.Count, 1);
    const Tariff &t = table.records[0];
    EXPECT_EQ(t.IdNumber, 1u);
    EXPECT_EQ(t.Name.text(), QStringLiteral("Weekday peak"));
    EXPECT_EQ(t.StartTime, at(8, 0, 0));
    EXPECT_EQ(t.FinishTime, at(17, 59, 59));
    EXPECT_EQ(t.UnitKind, 3);
    EXPECT_EQ(t.SecondsPerPulse, 120);
    EXPECT_EQ(t.ChargeKind, 1);
    EXPECT_EQ(t.UnitCost, 3000);
    EXPECT_EQ(t.MinCharge, 10000500);
    EXPECT_EQ(t.Colour, 0x0000FFu);
    EXPECT_EQ(t.AppliesTo, 2);
    EXPECT_EQ(t.AppliesValue, 31u);

    EXPECT_FALSE(editing());
    EXPECT_TRUE(child<QAbstractButton>("ButtonEdit")->isEnabled());
    EXPECT_FALSE(child<QLineEdit>("EditName")->isVisible());
    EXPECT_EQ(text("LabelName"), QStringLiteral(" Weekday peak"));
    EXPECT_EQ(text("LabelStart"), QStringLiteral(" 08:00:00"));
    EXPECT_EQ(text("LabelMinCharge").trimmed(), QStringLiteral("1,000.05"));
    EXPECT_EQ(grid()->rowCount(), 1);
    const QString row[] = { "Weekday peak", "Mon Tue Wed Thur Fri ", "08:00:00", "17:59:59", "Incremental", "0.30",
        "Per Pulse", "1,000.05" };
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(column == 5 || column == 7 ? cell(0, column).trimmed() : cell(0, column), row[column]) << column;
}

TEST_F(TCallChargesTest, EachFailedCheckOffersToGoBackOrToGiveUp)
{
    open();
    click("ButtonNew");
    type("EditName", QString());
    type("EditUnitCost", QStringLiteral("0.5"));
    QString shown;
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonSave");
    EXPECT_TRUE(shown.contains(QStringLiteral("Please enter a name for this Tariff"))) << shown.toStdString();
    EXPECT_TRUE(editing());
    EXPECT_EQ(child<QLineEdit>("EditUnitCost")->text(), QStringLiteral("0.5")) << "other input kept";
    EXPECT_EQ(editor->focusWidget(), child<QWidget>("EditName"));

    type("EditName", QStringLiteral("Flat"));
    type("EditStartHours", QStringLiteral("08"));
    type("EditFinishHours", QStringLiteral("08"));
    type("EditFinishMinutes", QStringLiteral("00"));
    type("EditFinishSeconds", QStringLiteral("00"));
    shown.clear();
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonSave");
    EXPECT_TRUE(shown.contains(QStringLiteral("The starting time must be less than the ending time.")));
    EXPECT_EQ(editor->focusWidget(), child<QWidget>("EditStartHours"));

    type("EditFinishSeconds", QStringLiteral("01"));
    type("EditUnitCost", QStringLiteral("ten pence"));
    shown.clear();
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonSave");
    EXPECT_TRUE(shown.contains(QStringLiteral("cost per unit as an amount of money"))) << shown.toStdString();
    EXPECT_EQ(editor->focusWidget(), child<QWidget>("EditUnitCost"));
    EXPECT_EQ(core.tariffs().Count, 0) << "not stored as zero";

    answerNextDialog(QStringLiteral("Cancel"));
    click("ButtonSave");
    EXPECT_FALSE(editing());
    EXPECT_EQ(core.tariffs().Count, 0);
    EXPECT_FALSE(child<QAbstractButton>("ButtonEdit")->isEnabled());
}

TEST_F(TCallChargesTest, AnEraMustEndAfterItBegins)
{
    open();
    click("ButtonNew");
    click("RadioKind7");
    child<QDateEdit>("DateFrom")->setDate(QDate(2026, 5, 1));
    child<QDateEdit>("DateTo")->setDate(QDate(2026, 5, 1));
    QString shown;
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonSave");
    EXPECT_TRUE(shown.contains(QStringLiteral("The Era Start Date must be less than the End date.")));
    EXPECT_EQ(editor->focusWidget(), child<QWidget>("DateFrom"));

    child<QDateEdit>("DateTo")->setDate(QDate(2026, 5, 10));
    click("ButtonSave");
    ASSERT_EQ(core.tariffs().Count, 1);
    EXPECT_EQ(cell(0, 1), QStringLiteral("01/05/26 to 10/05/26"));
}

TEST_F(TCallChargesTest, MoneyFieldsReadTheLocaleDecimalComma)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    open();
    click("ButtonNew");
    EXPECT_EQ(child<QLineEdit>("EditUnitCost")->text(), QStringLiteral("0,00"));
    type("EditUnitCost", QStringLiteral("0,15"));
    click("ButtonSave");
    ASSERT_EQ(core.tariffs().Count, 1);
    EXPECT_EQ(core.tariffs().records[0].UnitCost, 1500);
}

TEST_F(TCallChargesTest, SavingUnchangedKeepsAFractionOfACent)
{
    preload(QStringLiteral("Per second"), 1, 0, 0, 86399);
    core.tariffs().records[0].UnitCost = 20; // 0.002
    open();
    click("ButtonEdit");
    EXPECT_EQ(child<QLineEdit>("EditUnitCost")->text(), QStringLiteral("0.002"));
    click("ButtonSave");
    EXPECT_EQ(core.tariffs().records[0].UnitCost, 20);
    EXPECT_EQ(core.tariffs().Count, 1) << "no clash with itself";
}

TEST_F(TCallChargesTest, MoneyFieldsStoreWhatNobodyTypedAndRefuseLessThanNothing)
{
    preload(QStringLiteral("Large"), 1, 0, 0, 86399);
    Tariff &record = core.tariffs().records[0];
    record.UnitCost = 123456789012500; // 12,345,678,901.25: longer than may be typed
    record.MinCharge = -50000; // a damaged record's
    open();
    click("ButtonEdit");
    EXPECT_EQ(child<QLineEdit>("EditUnitCost")->text(), QStringLiteral("12,345,678,901.25"));
    click("ButtonSave");
    EXPECT_EQ(record.UnitCost, 123456789012500);
    EXPECT_EQ(record.MinCharge, -50000);

    click("ButtonEdit");
    type("EditUnitCost", QStringLiteral("0.1234"));
    type("EditMinCharge", QStringLiteral("-5"));
    QString shown;
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonSave");
    EXPECT_TRUE(shown.contains(QStringLiteral("The minimum charge cannot be less than nothing.")))
        << shown.toStdString();
    EXPECT_TRUE(editing());
    EXPECT_EQ(editor->focusWidget(), child<QWidget>("EditMinCharge"));
    EXPECT_EQ(record.MinCharge, -50000);

    type("EditMinCharge", QStringLiteral("5"));
    click("ButtonSave");
    EXPECT_EQ(record.UnitCost, 1234);
    EXPECT_EQ(record.MinCharge, 50000);
}

TEST_F(TCallChargesTest, ClashWarningGoesBackOrStoresAnyway)
{
    preload(QStringLiteral("  All day  "), 1, 0, at(8, 0, 0), at(17, 59, 59));
    open();
    click("ButtonNew");
    type("EditStartHours", QStringLiteral("17"));
    type("EditStartMinutes", QStringLiteral("59"));
    type("EditStartSeconds", QStringLiteral("59"));
    QString shown;
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonSave");
    EXPECT_TRUE(shown.contains(QStringLiteral("You have a tariff (All day) already defined for")))
        << shown.toStdString();
    EXPECT_TRUE(editing());
    EXPECT_EQ(editor->focusWidget(), child<QWidget>("EditStartHours"));
    EXPECT_EQ(core.tariffs().Count, 1);

    // Escape is not the Cancel that stores anyway.
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    click("ButtonSave");
    EXPECT_TRUE(editing());
    EXPECT_EQ(core.tariffs().Count, 1);

    answerNextDialog(QStringLiteral("Cancel"));
    click("ButtonSave");
    EXPECT_FALSE(editing());
    ASSERT_EQ(core.tariffs().Count, 2);
    EXPECT_EQ(core.tariffs().CurrentIndex, 1);
    EXPECT_EQ(cell(1, 0), QStringLiteral("Tariff 2"));
}

TEST_F(TCallChargesTest, CancelledNewTariffsUseUpTheirNumbers)
{
    preload(QStringLiteral("Mon"), 2, 1, 0, 100);
    preload(QStringLiteral("Tue"), 2, 2, 0, 100);
    preload(QStringLiteral("Wed"), 2, 4, 0, 100);
    open();
    click("ButtonNew");
    click("ButtonCancel");
    click("ButtonNew");
    EXPECT_EQ(child<QLineEdit>("EditName")->text(), QStringLiteral("Tariff 5"));
    QTest::keyClick(child<QWidget>("EditName"), Qt::Key_Escape);
    EXPECT_FALSE(editing());
    EXPECT_EQ(text("LabelName"), QStringLiteral(" Mon")) << "the selected tariff is shown again";

    click("ButtonNew");
    click("RadioKind1");
    QTest::keyClick(child<QWidget>("EditName"), Qt::Key_Enter);
    ASSERT_EQ(core.tariffs().Count, 4);
    EXPECT_EQ(core.tariffs().records[3].IdNumber, 6u);
    EXPECT_EQ(core.tariffs().records[3].Name.text(), QStringLiteral("Tariff 6"));
    EXPECT_EQ(core.tariffs().LastTariffIdNumber, 6u);
}

TEST_F(TCallChargesTest, DeleteAsksThenMovesLaterTariffsDown)
{
    preload(QStringLiteral("First"), 3, 1, 0, 100);
    preload(QStringLiteral("Second"), 3, 2, 0, 100);
    preload(QStringLiteral("Third"), 3, 3, 0, 100);
    open();
    clickRow(1);
    EXPECT_EQ(core.tariffs().CurrentIndex, 1);
    EXPECT_EQ(text("LabelName"), QStringLiteral(" Second"));

    answerNextDialog(QStringLiteral("Cancel"));
    click("ButtonDelete");
    EXPECT_EQ(core.tariffs().Count, 3);

    QString shown;
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonDelete");
    EXPECT_TRUE(shown.contains(QStringLiteral("This will completely romve this tariff")));
    ASSERT_EQ(core.tariffs().Count, 2);
    EXPECT_EQ(core.tariffs().records[1].Name.text(), QStringLiteral("Third"));
    EXPECT_EQ(core.tariffs().records[1].IdNumber, 3u);
    EXPECT_EQ(core.tariffs().CurrentIndex, 0);
    EXPECT_EQ(text("LabelName"), QStringLiteral(" First"));
    EXPECT_EQ(grid()->rowCount(), 2);

    for (int i = 0; i < 2; ++i) {
        answerNextDialog(QStringLiteral("OK"));
        click("ButtonDelete");
    }
    EXPECT_EQ(core.tariffs().Count, 0);
    EXPECT_EQ(text("LabelName"), QStringLiteral(" ")) << "no deleted tariff left on show";
    EXPECT_FALSE(child<QAbstractButton>("ButtonEdit")->isEnabled());
    EXPECT_FALSE(child<QAbstractButton>("ButtonDelete")->isEnabled());
}

TEST_F(TCallChargesTest, AFullTableRefusesTheNewTariffWithAMessage)
{
    for (int i = 0; i < kMaxTariffs; ++i)
        preload(QStringLiteral("T"), 5, std::uint32_t(2000 + i), 0, 100);
    open();
    QString shown;
    answerNextDialog(QStringLiteral("OK"), &shown);
    click("ButtonNew");
    EXPECT_TRUE(shown.contains(QStringLiteral("256 tariffs"))) << shown.toStdString();
    EXPECT_FALSE(editing());
    EXPECT_EQ(core.tariffs().LastTariffIdNumber, 256u);
}

TEST_F(TCallChargesTest, PickerButtonsWrapAround)
{
    preload(QStringLiteral("Odd year"), 5, 1, 0, 100);
    open();
    EXPECT_EQ(text("LabelYear"), QStringLiteral("1"));
    EXPECT_FALSE(child<QAbstractButton>("ButtonYearMinus")->isEnabled()) << "only while entering or editing";
    click("ButtonEdit");
    click("ButtonYearMinus");
    EXPECT_EQ(text("LabelYear"), QStringLiteral("2000"));
    EXPECT_EQ(text("LabelDay"), QStringLiteral("1st"));
    click("ButtonDayMinus");
    EXPECT_EQ(text("LabelDay"), QStringLiteral("28th"));
    click("ButtonDayPlus");
    EXPECT_EQ(text("LabelDay"), QStringLiteral("1st"));
    click("ButtonMonthMinus");
    EXPECT_EQ(text("LabelMonth"), QStringLiteral("December"));
    click("ButtonSave");
    EXPECT_EQ(core.tariffs().records[0].AppliesValue, 2000u);
}

TEST_F(TCallChargesTest, GridSliderAndColumnsFollowTheTable)
{
    open();
    auto *slider = child<QSlider>("TrackBar1");
    EXPECT_FALSE(slider->isVisible()) << "empty table";
    EXPECT_EQ(grid()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), QStringLiteral(" "));
    EXPECT_EQ(grid()->headerData(5, Qt::Horizontal).toString(), QStringLiteral("Unit Cost ($)"));
    auto *header = child<QTableView>("sg")->horizontalHeader();
    EXPECT_EQ(header->sectionSize(7), 106);
    header->resizeSection(0, 700);
    EXPECT_EQ(header->sectionSize(7), 514) << "the excess, never negative";
    editor.reset();

    preload(QStringLiteral("A"), 4, 1, 0, 100);
    open();
    EXPECT_FALSE(child<QSlider>("TrackBar1")->isVisible()) << "one tariff";
    EXPECT_EQ(cell(0, 1), QStringLiteral("January"));
    editor.reset();

    preload(QStringLiteral("B"), 4, 2, 0, 100);
    open();
    slider = child<QSlider>("TrackBar1");
    EXPECT_TRUE(slider->isVisible());
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 2);
    EXPECT_EQ(slider->value(), 2) << "the first tariff sits at the top";
    slider->setValue(1);
    EXPECT_EQ(core.tariffs().CurrentIndex, 1);
    EXPECT_EQ(text("LabelName"), QStringLiteral(" B"));
    clickRow(0);
    EXPECT_EQ(slider->value(), 2);
}

TEST_F(TCallChargesTest, TabReachesEveryField)
{
    open();
    click("ButtonNew");
    const char *const fields[] = { "EditName", "EditStartHours", "EditStartMinutes", "EditStartSeconds",
        "EditFinishHours", "EditFinishMinutes", "EditFinishSeconds", "ButtonUnit", "EditSecondsPerPulse",
        "ButtonCharge", "EditUnitCost", "EditMinCharge", "ColourStrip", "ButtonDays", "ButtonDayMinus",
        "ButtonYearPlus", "DateSpecific", "DateFrom", "DateTo", "ButtonSave" };
    QSet<QWidget *> reached;
    for (int i = 0; i < 60; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char *name : fields)
        EXPECT_TRUE(reached.contains(child<QWidget>(name))) << name;
    bool anyKind = false;
    for (int kind = 1; kind <= 7; ++kind)
        anyKind = anyKind || reached.contains(child<QWidget>(qPrintable(QStringLiteral("RadioKind%1").arg(kind))));
    EXPECT_TRUE(anyKind) << "the kind of days";
}

TEST_F(TCallChargesTest, ARealisticTariffSetBuiltInTheEditorDrivesTheRateCaption)
{
    open();
    struct Entry {
        const char *name;
        const char *start;
        const char *finish;
        int unitChoice; // menu entry: minute, second, pulse
        const char *pulse;
        int chargeChoice;
        const char *cost;
        int kind;
        std::uint32_t daySet;
    };
    const Entry entries[] = {
        { "Weekday day", "08:00:00", "17:59:59", 0, nullptr, 0, "0.10", 2, 31 },
        { "Evening", "18:00:00", "23:59:59", 2, "120", 0, "0.30", 1, 0 },
        { "Weekend", "00:00:00", "23:59:59", 0, nullptr, 0, "0.05", 2, 96 },
        { "Night", "00:00:00", "07:59:59", 1, nullptr, 0, "0.002", 1, 0 },
        { "Christmas", "00:00:00", "23:59:59", 0, nullptr, 1, "0.50", 6, 0 },
    };
    for (const Entry &e : entries) {
        click("ButtonNew");
        type("EditName", QString::fromLatin1(e.name));
        enterTime("EditStart", QString::fromLatin1(e.start));
        enterTime("EditFinish", QString::fromLatin1(e.finish));
        click("ButtonUnit");
        child<QMenu>("MenuUnit")->actions().at(e.unitChoice)->trigger();
        if (e.pulse)
            type("EditSecondsPerPulse", QString::fromLatin1(e.pulse));
        click("ButtonCharge");
        child<QMenu>("MenuCharge")->actions().at(e.chargeChoice)->trigger();
        type("EditUnitCost", QString::fromLatin1(e.cost));
        click(qPrintable(QStringLiteral("RadioKind%1").arg(e.kind)));
        if (e.kind == 2)
            tickDays(e.daySet);
        if (e.kind == 6)
            child<QDateEdit>("DateSpecific")->setDate(QDate(2026, 12, 25));
        click("ButtonSave");
        EXPECT_FALSE(editing()) << e.name << ": no check failed and nothing clashed";
    }
    ASSERT_EQ(core.tariffs().Count, 5);
    EXPECT_EQ(text("LabelCostCaption"), QStringLiteral("Cost per Call"));

    const QDate monday(2026, 3, 2), saturday(2026, 3, 7);
    const std::pair<QDateTime, const char *> cases[] = {
        { QDateTime(monday, QTime(10, 0)), "Weekday day 0.10 p.min" },
        { QDateTime(monday, QTime(19, 0)), "Evening 0.15 p.min" },
        { QDateTime(monday, QTime(3, 0)), "Night 0.12 p.min" },
        { QDateTime(saturday, QTime(10, 0)), "Weekend 0.05 p.min" },
        { QDateTime(saturday, QTime(19, 0)), "Weekend 0.05 p.min" },
        { QDateTime(QDate(2026, 12, 25), QTime(10, 0)), "Christmas 0.50 p.call" },
    };
    for (const auto &[moment, caption] : cases)
        EXPECT_EQ(captionAt(moment), QString::fromLatin1(caption)) << moment.toString().toStdString();
}

TEST_F(TCallChargesTest, TheBackgroundMovesTheWindowExceptInItsTopLeftCorner)
{
    open();
    QWidget *background = child<QWidget>("CutTransImage1");
    editor->move(100, 100);
    const std::tuple<QPoint, QPoint, QPoint> drags[] = {
        { QPoint(50, 35), QPoint(80, 75), QPoint(0, 0) }, // the last pixel of the corner
        { QPoint(51, 10), QPoint(71, 40), QPoint(20, 30) }, // just right of it
        { QPoint(20, 36), QPoint(10, 46), QPoint(-10, 10) }, // just below it
    };
    for (const auto &[from, to, moved] : drags) {
        const QPoint before = editor->pos();
        QTest::mousePress(background, Qt::LeftButton, {}, from);
        QTest::mouseMove(background, to);
        QTest::mouseRelease(background, Qt::LeftButton, {}, to);
        EXPECT_EQ(editor->pos() - before, moved) << from.x() << "," << from.y();
    }
}

TEST_F(TCallChargesTest, ADarkTariffReadsAndNewStartsFromTheResetColour)
{
    preload(QStringLiteral("Night"), 1, 0, 0, 3600);
    core.tariffs().records[0].Colour = 0x00102040; // dark brown
    open();
    auto *sg = child<QTableView>("sg");
    const QImage cell = sg->viewport()->grab(sg->visualRect(sg->model()->index(0, 0))).toImage();
    int light = 0;
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x)
            light += cell.pixelColor(x, y).lightness() > 200;
    EXPECT_GT(light, 10) << "the name is written in white on the dark colour";

    click("ButtonNew");
    EXPECT_EQ(child<TGShape>("ShapeColour")->brush().color(),
        qColourOfTariff(child<TariffColourStrip>("ColourStrip")->colour()))
        << "the swatch follows the reset strip, not the tariff shown before";
    for (const char *shown : { "LabelStart", "LabelFinish", "LabelCost" })
        EXPECT_FALSE(child<QLabel>(shown)->isVisible()) << shown << " would show between the fields";
}

TEST_F(TCallChargesTest, ACancelledEditShowsTheStoredTariffAgain)
{
    preload(QStringLiteral("Fifteenth"), 3, 15, 0, 100);
    open();
    const auto radio
        = [this](int kind) { return child<QAbstractButton>(qPrintable(QStringLiteral("RadioKind%1").arg(kind))); };
    EXPECT_TRUE(radio(3)->isVisible() && radio(3)->isChecked()) << "the kind is marked out of editing too";
    EXPECT_FALSE(radio(3)->isEnabled());

    const struct {
        const char *finish; // how the edit is left
        bool emptyTable;
    } cases[] = { { "ButtonCancel", false }, { "Escape", false }, { "ButtonCancel", true } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.finish);
        if (c.emptyTable) {
            answerNextDialog(QStringLiteral("OK"));
            click("ButtonDelete");
            click("ButtonNew");
        } else {
            click("ButtonEdit");
        }
        type("EditName", QStringLiteral("Abandoned"));
        click("ButtonDayPlus");
        click("ButtonMonthPlus");
        click("ButtonYearPlus");
        click("RadioKind5");
        child<QDateEdit>("DateSpecific")->setDate(QDate(2030, 5, 5));
        if (QString::fromLatin1(c.finish) == QStringLiteral("Escape"))
            QTest::keyClick(child<QWidget>("EditName"), Qt::Key_Escape);
        else
            click(c.finish);
        ASSERT_FALSE(editing());
        EXPECT_EQ(text("LabelName"), c.emptyTable ? QStringLiteral(" ") : QStringLiteral(" Fifteenth"));
        EXPECT_EQ(text("LabelDay"), c.emptyTable ? QStringLiteral("1st") : QStringLiteral("15th"));
        EXPECT_EQ(text("LabelMonth"), QStringLiteral("January"));
        EXPECT_EQ(text("LabelYear"), QStringLiteral("1999"));
        EXPECT_EQ(text("LabelDate"), QLatin1Char(' ') + shortDateText(clock.now().date()));
        EXPECT_EQ(radio(3)->isChecked(), !c.emptyTable);
        EXPECT_FALSE(radio(5)->isChecked());
    }
}
