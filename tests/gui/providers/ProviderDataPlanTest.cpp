#include "gui/providers/TProviderEdit.h"

#include "core/providers/ProviderRegistry.h"
#include "support/FakeAppCore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The account dialog's data plan fields, typed into as a user would, with
// volume.data read back as plain text.
class ProviderDataPlanTest : public ::testing::Test {
protected:
    ProviderDataPlanTest()
    {
        QLocale::setDefault(QLocale::c());
        ProviderRegistry(core.providers(), fake.dialUp).ProviderDBadd(QStringLiteral("Roaming SIM"));
        core.providers().Current = 0;
    }
    ~ProviderDataPlanTest() override { QLocale::setDefault(QLocale::system()); }

    void openAndEdit()
    {
        dialog = std::make_unique<TProviderEdit>(core, fake.dialUp);
        dialog->show();
        click("ButtonEdit");
    }
    template <typename T = QWidget> T *child(const char *name)
    {
        T *widget = dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    void click(const char *name) { child<QAbstractButton>(name)->click(); }
    void type(const char *name, const QString &text)
    {
        QWidget *field = child(name);
        if (auto *spin = qobject_cast<QAbstractSpinBox *>(field))
            spin->selectAll();
        else
            qobject_cast<QLineEdit *>(field)->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, text);
    }
    void choose(const char *name, int index) { child<QComboBox>(name)->setCurrentIndex(index); }
    // Save, answering the error message should one come; its texts, empty when none came.
    QString save()
    {
        QString message;
        QTimer::singleShot(0, [&message] {
            QWidget *shown = QApplication::activeModalWidget();
            if (!shown)
                return;
            for (const QLabel *label : shown->findChildren<QLabel *>())
                message += label->text() + QLatin1Char('\n');
            if (auto *ok = shown->findChild<QAbstractButton *>(QStringLiteral("OK")))
                ok->click();
        });
        click("ButtonSave");
        QApplication::processEvents();
        return message;
    }
    // volume.data as the program wrote it, once its changes were saved.
    QString written()
    {
        core.saveChanges();
        QFile file(fake.dir.filePath(QStringLiteral("volume.data")));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    FakeAppCore fake;
    AppCore &core = fake.core;
    std::unique_ptr<TProviderEdit> dialog;
};

} // namespace

TEST_F(ProviderDataPlanTest, SavedFieldsAreWrittenAsBytesAndTenThousandthsOfMoney)
{
    openAndEdit();
    type("DataAllowance", QStringLiteral("2.5"));
    choose("DataAllowanceUnit", 1); // GB
    type("DataBlock", QStringLiteral("100"));
    type("DataBlockPrice", QStringLiteral("0.0125"));
    choose("DataCounts", 2); // out
    EXPECT_EQ(save(), QString());

    const QString file = written();
    for (const char *line : { "[Volume.0]\r\n", "Name=Roaming SIM\r\n", "AllowanceBytes=2500000000\r\n",
             "BlockBytes=100000000\r\n", "BlockPrice=125\r\n", "Counts=out\r\n" })
        EXPECT_TRUE(file.contains(QLatin1String(line))) << line << " in\n" << file.toStdString();
}

// Sizes the fields show only to the KB, and a price to four decimals, saved
// untouched: the file keeps them to the byte, and the warnings already given
// for that allowance stay given.
TEST_F(ProviderDataPlanTest, AmountsNobodyTouchedAreKeptExactly)
{
    VolumePlan plan;
    plan.allowanceBytes = 1234567891;
    plan.blockBytes = 999999;
    plan.blockPrice = 12345;
    plan.counted = CountedBytes::In;
    plan.warnedCycle = QDate(2026, 3, 1);
    plan.warnedLevels = 3;
    core.volumePlans().insert(QStringLiteral("Roaming SIM"), plan);
    openAndEdit();
    // To the KB, without the zeros a narrow field has no room for.
    EXPECT_EQ(child<QDoubleSpinBox>("DataAllowance")->text(), QStringLiteral("1234.568"));
    EXPECT_EQ(child<QDoubleSpinBox>("DataBlock")->text(), QStringLiteral("1"));
    EXPECT_EQ(save(), QString());

    const QString file = written();
    for (const char *line : { "AllowanceBytes=1234567891\r\n", "BlockBytes=999999\r\n", "BlockPrice=12345\r\n",
             "Counts=in\r\n", "WarnedCycle=2026-03-01\r\n", "WarnedLevels=3\r\n" })
        EXPECT_TRUE(file.contains(QLatin1String(line))) << line << " in\n" << file.toStdString();
}

// The largest budget and block price are shown whole, to their last digit,
// and kept by a Save that did not touch them; one more is refused in words.
TEST_F(ProviderDataPlanTest, TheLargestBudgetAndBlockPriceAreShownWhole)
{
    ProviderBudget budget;
    budget.money = 9'999'999'999'999; // 999,999,999.9999
    core.spending().budgets.insert(QStringLiteral("Roaming SIM"), budget);
    VolumePlan plan;
    plan.blockBytes = VolumePlan::kMegabyte;
    plan.blockPrice = 99'999'999'999'999; // 9,999,999,999.9999
    core.volumePlans().insert(QStringLiteral("Roaming SIM"), plan);
    openAndEdit();
    EXPECT_EQ(child<QLineEdit>("BudgetMoney")->text(), QStringLiteral("999,999,999.9999"));
    EXPECT_EQ(child<QLineEdit>("DataBlockPrice")->text(), QStringLiteral("9,999,999,999.9999"));
    EXPECT_EQ(save(), QString());
    EXPECT_EQ(core.spending().budgets.value(QStringLiteral("Roaming SIM")).money, 9'999'999'999'999);
    EXPECT_EQ(core.volumePlans().value(QStringLiteral("Roaming SIM")).blockPrice, 99'999'999'999'999);

    click("ButtonEdit");
    type("BudgetMoney", QStringLiteral("9,999,999,999.9999"));
    EXPECT_EQ(save(), QString()) << "typed as the field shows it";
    EXPECT_EQ(core.spending().budgets.value(QStringLiteral("Roaming SIM")).money, 99'999'999'999'999);

    click("ButtonEdit");
    type("DataBlockPrice", QStringLiteral("10,000,000,000"));
    EXPECT_TRUE(
        save().contains(QStringLiteral("\"10,000,000,000\" is too large an amount: at most 9,999,999,999.9999.")));
    EXPECT_EQ(core.volumePlans().value(QStringLiteral("Roaming SIM")).blockPrice, 99'999'999'999'999);
}

TEST_F(ProviderDataPlanTest, NonsenseIsRefusedByNameAndNothingIsStored)
{
    struct Case {
        const char *field;
        QString typed;
        int unit; // for a size: 0 MB, 1 GB
        QString message;
    };
    const Case cases[] = {
        { "DataBlockPrice", QStringLiteral("abc"), 0, QStringLiteral("\"abc\" is not an amount of money.") },
        { "DataBlockPrice", QStringLiteral("-0.50"), 0, QStringLiteral("\"-0.50\" is less than nothing.") },
        { "DataAllowance", QString(), 0, QStringLiteral("Data each month:\n\"\" is not a number of MB or GB.") },
        { "DataAllowance", QStringLiteral("20000"), 1,
            QStringLiteral("Data each month:\n20000 GB is more than the 10000 GB a plan may hold.") },
        { "DataBlock", QStringLiteral("0"), 0, QStringLiteral("A price needs the size of the block it buys") },
    };
    VolumePlan plan;
    plan.allowanceBytes = 5 * VolumePlan::kGigabyte;
    plan.blockBytes = VolumePlan::kMegabyte;
    plan.blockPrice = 10000;
    for (const Case &c : cases) {
        core.volumePlans().insert(QStringLiteral("Roaming SIM"), plan);
        openAndEdit();
        type(c.field, c.typed);
        if (QString::fromLatin1(c.field) != QStringLiteral("DataBlockPrice"))
            choose(c.field == QByteArrayView("DataAllowance") ? "DataAllowanceUnit" : "DataBlockUnit", c.unit);
        const QString message = save();
        EXPECT_TRUE(QString(message).replace(QLatin1Char('\r'), QLatin1Char('\n')).contains(c.message))
            << c.field << " " << c.typed.toStdString() << ": " << message.toStdString();
        EXPECT_TRUE(child("ButtonSave")->isEnabled()) << c.field << ": still editing";
        const VolumePlan kept = core.volumePlans().value(QStringLiteral("Roaming SIM"));
        EXPECT_EQ(kept.allowanceBytes, plan.allowanceBytes) << c.field;
        EXPECT_EQ(kept.blockBytes, plan.blockBytes) << c.field;
        EXPECT_EQ(kept.blockPrice, plan.blockPrice) << c.field;
    }
}
