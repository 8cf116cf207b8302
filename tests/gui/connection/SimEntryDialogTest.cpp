#include "gui/connection/SimEntryDialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

template <typename Widget> Widget *field(QWidget &dialog, const char *name)
{
    auto *widget = dialog.findChild<Widget *>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

void type(QWidget &dialog, const char *name, const QString &text)
{
    QLineEdit *edit = field<QLineEdit>(dialog, name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

} // namespace

TEST(SimEntryDialog, OkGivesTheEntryAsTyped)
{
    SimEntryDialog dialog(nullptr, SimEntry {}, true, { QStringLiteral("Home") });
    dialog.show();
    type(dialog, "name", QStringLiteral("Work"));
    type(dialog, "phoneNumber", QStringLiteral(" 0123 456 "));
    type(dialog, "userName", QStringLiteral("ann"));
    type(dialog, "password", QStringLiteral("s3cret"));
    field<QAbstractButton>(dialog, "savePassword")->setChecked(true);
    field<QDoubleSpinBox>(dialog, "stageSeconds")->setValue(0.5);
    field<QAbstractButton>(dialog, "answers")->setChecked(false);
    field<QSpinBox>(dialog, "failWithError")->setValue(676);
    field<QSpinBox>(dialog, "dropAfterSeconds")->setValue(90);
    field<QAbstractButton>(dialog, "OK")->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    const SimEntry entry = dialog.entry();
    EXPECT_EQ(entry.name, QStringLiteral("Work"));
    EXPECT_EQ(entry.phoneNumber, QStringLiteral("0123 456"));
    EXPECT_EQ(entry.userName, QStringLiteral("ann"));
    EXPECT_EQ(entry.password, QStringLiteral("s3cret"));
    EXPECT_TRUE(entry.savePassword);
    EXPECT_EQ(entry.stageSeconds, 0.5);
    EXPECT_FALSE(entry.answers);
    EXPECT_EQ(entry.failWithError, 676u);
    EXPECT_EQ(entry.dropAfterSeconds, 90);
}

TEST(SimEntryDialog, UnusableFieldsKeepTheDialogOpenAndSayWhy)
{
    struct Case {
        const char *name;
        const char *password;
        const char *problem;
    };
    const Case cases[] = {
        { "", "pw", "Enter a name for the entry." },
        { " Work", "pw", "A name cannot begin or end with a blank." },
        { "HOME", "pw", "There is already an entry called \"HOME\"." },
        { "Work", " pw", "A password cannot begin or end with a blank." },
    };
    for (const Case &c : cases) {
        SimEntryDialog dialog(nullptr, SimEntry {}, true, { QStringLiteral("Home") });
        dialog.show();
        type(dialog, "name", QString::fromLatin1(c.name));
        type(dialog, "password", QString::fromLatin1(c.password));
        field<QAbstractButton>(dialog, "OK")->click();
        EXPECT_TRUE(dialog.isVisible()) << c.name;
        EXPECT_EQ(field<QLabel>(dialog, "problem")->text(), QString::fromLatin1(c.problem)) << c.name;
    }
}

TEST(SimEntryDialog, EditingShowsTheEntryAndKeepsItsName)
{
    SimEntry initial;
    initial.name = QStringLiteral("Home");
    initial.userName = QStringLiteral("ann");
    initial.failWithError = 691;
    initial.dropAfterSeconds = 30;
    SimEntryDialog dialog(nullptr, initial, false, { QStringLiteral("Home") });
    EXPECT_TRUE(field<QLineEdit>(dialog, "name")->isReadOnly());
    EXPECT_EQ(dialog.entry(), initial) << "every field shows the entry";
    field<QAbstractButton>(dialog, "OK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "its own name is no clash";

    QTimer::singleShot(0, [] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        field<QAbstractButton>(*modal, "Cancel")->click();
    });
    EXPECT_EQ(SimEntryDialog::ask(nullptr, initial, false, {}), std::nullopt);
}
