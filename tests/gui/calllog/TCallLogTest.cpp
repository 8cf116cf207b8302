#include "gui/calllog/TCallLog.h"
#include "core/app/AppCore.h"
#include "gui/calllog/TEditCall.h"
#include "gui/providers/ProviderMenu.h"

#include "support/FakeAppCore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs `act` on the next modal dialog once it is shown.
void onNextDialog(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

void pressInNextDialog(const QString &buttonName)
{
    onNextDialog([buttonName](QWidget *dialog) {
        auto *button = dialog->findChild<QAbstractButton *>(buttonName);
        ASSERT_NE(button, nullptr);
        button->click();
    });
}

class TCallLogTest : public ::testing::Test, protected FakeAppCore {
protected:
    // `calls` calls, alternately of Home and Office, one a minute apart,
    // the last ones today.
    void open(int calls, std::array<int, kCallLogColumns> widths = kDefaultColumnWidths)
    {
        core.loadAll();
        core.settings().ColumnWidths = widths;
        core.setCurrencyText(QStringLiteral("$ "));
        core.providers().Count = 2;
        core.providers().records[0].Name.setText(QStringLiteral("Home"));
        core.providers().records[1].Name.setText(QStringLiteral("Office"));
        CallLogTable &log = core.log();
        for (int i = 0; i < calls; ++i) {
            CallRecord &r = log.records[log.Count++];
            const QDate day = clock.now().date().addDays(-(calls - 1 - i) / 100);
            r.StartDay = r.EndDay = std::uint8_t(day.day());
            r.StartMonth = r.EndMonth = std::uint8_t(day.month());
            r.StartYear = r.EndYear = std::uint8_t(day.year() % 100);
            r.StartHour = r.EndHour = 9;
            r.StartMinute = r.StartSecond = r.EndSecond = 0;
            r.EndMinute = 1;
            r.ProviderIndex = std::uint8_t(i % 2);
            r.DurationSeconds = 60;
            r.Cost = 1000;
        }
        window.attach(core, [this] { ++displayUpdates; });
        window.resize(TCallLog::kWidth, 400);
        window.show();
        window.FillGridWithLog();
    }
    template <typename T> T *child(const char *name) const
    {
        auto *widget = window.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTableView *grid() const { return child<QTableView>("sg"); }
    QString cell(int row, int column) const { return grid()->model()->index(row, column).data().toString(); }
    QString statText(int button) const
    {
        // A statistic too wide for its button breaks into lines.
        return child<QAbstractButton>(QStringLiteral("GTextButton%1").arg(button).toLatin1().constData())
            ->text()
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    void selectRow(int row)
    {
        grid()->selectionModel()->setCurrentIndex(
            grid()->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    TCallLog window;
    int displayUpdates = 0;
};

} // namespace

TEST_F(TCallLogTest, ShowsThousandsOfCallsWithTheirStatistics)
{
    open(6000);
    EXPECT_EQ(grid()->model()->rowCount(), 6000);
    EXPECT_EQ(grid()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("$ Cost"));
    EXPECT_EQ(cell(0, 7), QStringLiteral("Home"));
    EXPECT_EQ(cell(5999, 7), QStringLiteral("Office"));
    EXPECT_EQ(grid()->currentIndex().row(), 0) << "the oldest call is selected";
    EXPECT_EQ(displayUpdates, 1);
    EXPECT_EQ(core.providers().records[0].TotalCalls, 3000);
    EXPECT_EQ(core.providers().records[1].TodayCalls, 50);
    EXPECT_FALSE(window.grab().isNull());

    QTest::mouseClick(child<QAbstractButton>("GTextButton7"), Qt::LeftButton);
    EXPECT_EQ(statText(7), QStringLiteral("6000"));
    EXPECT_EQ(child<QWidget>("GTextButton5")->toolTip(), QStringLiteral("Calls today= 100"));
    QTest::mouseClick(child<QAbstractButton>("GTextButton7"), Qt::LeftButton);
    EXPECT_EQ(statText(7), QStringLiteral("Total items"));

    core.setCurrencyText(QStringLiteral("€ "));
    window.refreshCostHeader();
    EXPECT_EQ(grid()->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("€ Cost"));

    window.resize(TCallLog::kWidth, 125);
    EXPECT_FALSE(child<QWidget>("GTextButton1")->isVisible());
    EXPECT_FALSE(child<QWidget>("ButtonEdit")->isVisible());
    EXPECT_FALSE(child<QWidget>("GSlider1")->isVisible());
    window.resize(TCallLog::kWidth, 126);
    EXPECT_TRUE(child<QWidget>("GTextButton8")->isVisible());
    EXPECT_TRUE(child<QWidget>("ButtonClear")->isVisible());
    EXPECT_TRUE(child<QWidget>("GSlider1")->isVisible()) << "thousands of rows do not fit";
    auto *slider = child<QSlider>("GSlider1");
    EXPECT_EQ(slider->maximum(), 6000);
    EXPECT_EQ(slider->value(), 6000) << "row 1 is at the top";
    slider->setValue(5990);
    EXPECT_EQ(grid()->currentIndex().row(), 10);
    selectRow(100);
    EXPECT_EQ(slider->value(), 5900);
}

TEST_F(TCallLogTest, FilterDeleteEditAndClearGoThroughTheirDialogs)
{
    open(10);
    QTest::mouseClick(child<QAbstractButton>("ButtonChooseProvider"), Qt::LeftButton);
    auto *menu = child<ProviderMenu>("PopupMenu1");
    ASSERT_EQ(menu->actions().size(), 3);
    menu->actions().at(2)->trigger();
    menu->hide();
    EXPECT_EQ(child<QLabel>("LabelProvider")->text(), QStringLiteral("Office"));
    EXPECT_EQ(grid()->model()->rowCount(), 5);

    // Row 2 among Office's calls is record 3.
    selectRow(1);
    pressInNextDialog(QStringLiteral("No"));
    QTest::mouseClick(child<QAbstractButton>("ButtonDelete"), Qt::LeftButton);
    EXPECT_EQ(core.log().records[3].ProviderIndex, 1);
    selectRow(1);
    pressInNextDialog(QStringLiteral("Yes"));
    QTest::mouseClick(child<QAbstractButton>("ButtonDelete"), Qt::LeftButton);
    EXPECT_EQ(core.log().records[3].ProviderIndex, kDeletedCall);
    EXPECT_EQ(grid()->model()->rowCount(), 4);
    EXPECT_EQ(core.providers().records[1].TotalCalls, 4);

    // Row 1 is record 1: a refused time keeps the dialog open, then Save.
    onNextDialog([](QWidget *dialog) {
        ASSERT_NE(qobject_cast<TEditCall *>(dialog), nullptr);
        auto *start = dialog->findChild<QLineEdit *>(QStringLiteral("StartTimeEdit"));
        start->setFocus();
        start->setCursorPosition(0);
        QTest::keyClicks(start, QStringLiteral("x3"));
        EXPECT_EQ(start->displayText(), QStringLiteral("39:00:00")) << "only digits are typed over";
        QTest::keyClick(start, Qt::Key_Backspace);
        EXPECT_EQ(start->displayText(), QStringLiteral("39:00:00"));
        pressInNextDialog(QStringLiteral("OK"));
        dialog->findChild<QAbstractButton *>(QStringLiteral("ButtonClose"))->click();
        ASSERT_TRUE(dialog->isVisible());
        start->setCursorPosition(0);
        QTest::keyClicks(start, QStringLiteral("08"));
        auto *cost = dialog->findChild<QLineEdit *>(QStringLiteral("CurrencyEdit2"));
        cost->setText(QStringLiteral("2.50"));
        QTest::keyClick(cost, Qt::Key_Return); // Save
    });
    QTest::mouseClick(child<QAbstractButton>("ButtonEdit"), Qt::LeftButton);
    EXPECT_EQ(core.log().records[1].StartHour, 8);
    EXPECT_EQ(core.log().records[1].Cost, 25000);
    EXPECT_EQ(cell(0, 0), QStringLiteral("08:00:00"));

    pressInNextDialog(QStringLiteral("Yes"));
    QTest::mouseClick(child<QAbstractButton>("ButtonClear"), Qt::LeftButton);
    EXPECT_EQ(cell(0, 0), QString()) << "one empty row";
    EXPECT_FALSE(grid()->selectionModel()->isSelected(grid()->model()->index(0, 0)))
        << "the empty row shows no selection";
    EXPECT_EQ(core.providers().records[1].TotalCalls, 0);
    EXPECT_EQ(core.providers().records[0].TotalCalls, 5) << "the other provider's calls stay";
}

TEST_F(TCallLogTest, TheLastColumnTakesWhatTheOthersLeaveOrTheirOverflow)
{
    struct Case {
        std::array<int, kCallLogColumns> widths;
        int last;
    };
    const Case cases[] = {
        { { 50, 50, 50, 50, 50, 50, 50, 7 }, 468 - 350 },
        { { 100, 100, 100, 100, 50, 50, 50, 0 }, 550 - 468 },
        // Damaged widths are brought into range before they are summed.
        { { -40, 2147483647, 2147483647, 10, 10, 10, 10, 0 }, 1 + 2 * 1872 + 40 - 468 },
    };
    for (const Case &c : cases) {
        open(3, c.widths);
        EXPECT_EQ(grid()->horizontalHeader()->sectionSize(7), c.last);
        EXPECT_EQ(core.settings().ColumnWidths[7], c.last) << "saved with the others";
    }
    grid()->horizontalHeader()->resizeSection(0, 60);
    EXPECT_EQ(core.settings().ColumnWidths[0], 60) << "the user's widths are kept";
    EXPECT_EQ(grid()->horizontalHeader()->sectionSize(7), 1 + 2 * 1872 + 40 + 59 - 468);
}
