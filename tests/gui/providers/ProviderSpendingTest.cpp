#include "gui/providers/TProviderEdit.h"

#include "core/providers/ProviderRegistry.h"
#include "support/FakeAppCore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The texts of the next modal message, answered with its OK button.
void answerNextMessage(QStringList &texts)
{
    QTimer::singleShot(0, [&texts] {
        QWidget *dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            texts.append(label->text());
        auto *ok = dialog->findChild<QAbstractButton *>(QStringLiteral("OK"));
        ASSERT_NE(ok, nullptr);
        ok->click();
    });
}

} // namespace

TEST(ProviderSpending, HoursAreWholeAndAmountsTakeEitherDecimalMark)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    FakeAppCore fake;
    ProviderRegistry(fake.core.providers(), fake.dialUp).ProviderDBadd(QStringLiteral("DemoEntry"));
    fake.core.providers().Current = 0;
    TProviderEdit dialog(fake.core, fake.dialUp);
    dialog.show();
    dialog.findChild<QAbstractButton *>(QStringLiteral("ButtonEdit"))->click();
    dialog.findChild<QLineEdit *>(QStringLiteral("BudgetMoney"))->setText(QStringLiteral("1,50"));
    auto *hours = dialog.findChild<QSpinBox *>(QStringLiteral("BudgetHours"));
    ASSERT_NE(hours, nullptr);
    hours->selectAll();
    QTest::keyClicks(hours, QStringLiteral("0.5"));

    QStringList texts;
    answerNextMessage(texts);
    dialog.findChild<QAbstractButton *>(QStringLiteral("ButtonSave"))->click();
    EXPECT_TRUE(texts.join(QLatin1Char('\n')).contains(QStringLiteral("\"0.5\" is not a whole number of hours")))
        << texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(fake.core.spending().budgets.contains(QStringLiteral("DemoEntry"))) << "nothing stored";

    hours->selectAll();
    QTest::keyClicks(hours, QStringLiteral("5"));
    dialog.findChild<QAbstractButton *>(QStringLiteral("ButtonSave"))->click();
    const ProviderBudget budget = fake.core.spending().budgets.value(QStringLiteral("DemoEntry"));
    EXPECT_EQ(budget.money, 15000) << "1,50 is one and a half, not 150";
    EXPECT_EQ(budget.hours, 5);
    EXPECT_EQ(hours->maximum(), ProviderBudget::kMaxHours);
    QLocale::setDefault(QLocale::c());
}
