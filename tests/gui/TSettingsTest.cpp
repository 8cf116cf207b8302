#include "gui/dialogs/TSettings.h"
#include "core/app/AppCore.h"
#include "gui/controls/ApplicationHints.h"
#include "gui/controls/OnOffSwitch.h"

#include "support/FakeClock.h"
#include "support/FakeDialUpService.h"
#include "support/FakeServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kSilver(192, 192, 192);

class TSettingsTest : public ::testing::Test {
protected:
    TSettingsTest()
        : core(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, dialUp })
    {
        core.loadAll();
    }
    ~TSettingsTest() override { applyApplicationHints(true); }

    // Shows the dialog as a modal window and waits until it has the keyboard.
    void open(TSettings &dialog)
    {
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    }
    OnOffSwitch *switchAt(TSettings &dialog, int n)
    {
        return dialog.findChild<OnOffSwitch *>(QStringLiteral("Switch%1").arg(n));
    }
    // Types each character as its own key press; the test library's own
    // typing knows only ASCII.
    static void type(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &down);
        }
    }
    // Presses a key on whatever has the focus.
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    FakeDialUpService dialUp;
    AppCore core;
};

} // namespace

TEST_F(TSettingsTest, ShowsTheSettingsWithTheirLabelsAndHints)
{
    core.settings().UseUserCurrency = true;
    core.settings().CurrencyString = QStringLiteral("€");
    TSettings dialog(core);
    open(dialog);

    const QString labels[] = {
        QStringLiteral("Show Mouse Tool Tips"),
        QStringLiteral("Play Tollwise sounds"),
        QStringLiteral("Automatically update provider totals"),
#ifdef Q_OS_WIN
        QStringLiteral("Run Tollwise on Windows Start Up"),
#else
        QStringLiteral("Run Tollwise on Start Up"),
#endif
        QStringLiteral("Show Connection Time in Tollwise Caption Title"),
        QStringLiteral("Load Tollwise in a Minimised state"),
        QStringLiteral("Use this currency symbol"),
        QStringLiteral("Use the default currency symbol"),
        QStringLiteral("Notify me of each call's time and cost"),
    };
    // Defaults: hints on, provider totals on, user currency (set above) on.
    const bool expectedOn[] = { true, false, true, false, false, false, true, false, false };
    for (int n = 1; n <= 9; ++n) {
        OnOffSwitch *button = switchAt(dialog, n);
        ASSERT_NE(button, nullptr) << n;
        EXPECT_EQ(button->isChecked(), expectedOn[n - 1]) << n;
        EXPECT_EQ(button->toolTip(), QStringLiteral("Click to toggle Green=On Red=Off")) << n;
        auto *label = dialog.findChild<QLabel *>(
            n < 9 ? QStringLiteral("Label%1").arg(n) : QStringLiteral("LabelNotifyCallEnded"));
        ASSERT_NE(label, nullptr) << n;
        EXPECT_EQ(label->text(), labels[n - 1]) << n;
    }
    auto *edit1 = dialog.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    auto *label9 = dialog.findChild<QLabel *>(QStringLiteral("Label9"));
    auto *okay = dialog.findChild<QAbstractButton *>(QStringLiteral("ButtonOkay"));
    auto *close = dialog.findChild<QAbstractButton *>(QStringLiteral("ButtonClose"));
    ASSERT_TRUE(edit1 && label9 && okay && close);
    EXPECT_EQ(edit1->text(), QStringLiteral("€"));
    EXPECT_EQ(edit1->toolTip(), QStringLiteral("Enter your symbol to display"));
    EXPECT_EQ(edit1->palette().color(QPalette::Base), kWhite);
    EXPECT_EQ(
        label9->text(), core.systemCurrency().trimmed().isEmpty() ? QStringLiteral("None") : core.systemCurrency());
    EXPECT_EQ(label9->palette().color(QPalette::Window), kSilver);
    EXPECT_EQ(okay->text(), QStringLiteral("Save"));
    EXPECT_EQ(okay->toolTip(), QStringLiteral("Save this and close"));
    EXPECT_EQ(close->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(close->toolTip(), QStringLiteral("Don't save just close"));
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    // Where the files are, whole in the tooltip when the line is too short for it.
    auto *files = dialog.findChild<QLabel *>(QStringLiteral("LabelDataFolder"));
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->toolTip(), QDir::toNativeSeparators(core.folder()));
    EXPECT_TRUE(files->text().startsWith(QStringLiteral("Files kept in "))) << files->text().toStdString();
}

TEST_F(TSettingsTest, KeyboardAloneChangesAndSavesTheSettings)
{
    TSettings dialog(core);
    open(dialog);
    ASSERT_EQ(QApplication::focusWidget(), switchAt(dialog, 1));

    press(Qt::Key_Space); // hints off
    press(Qt::Key_Tab);
    press(Qt::Key_Space); // sounds on
    for (int i = 0; i < 5; ++i)
        press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), switchAt(dialog, 7));
    press(Qt::Key_Space); // this currency symbol
    EXPECT_FALSE(switchAt(dialog, 8)->isChecked());
    auto *edit1 = dialog.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    EXPECT_EQ(edit1->palette().color(QPalette::Base), kWhite);

    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), edit1);
    type(edit1, QStringLiteral("  €₹0123456789"));
    EXPECT_EQ(edit1->text(), QStringLiteral("  €0123456")) << "too long, or a character the file cannot hold";
    edit1->setText(QStringLiteral("  €"));

    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), switchAt(dialog, 8));
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), switchAt(dialog, 9));
    press(Qt::Key_Space); // a notification at the end of each call
    press(Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget()->objectName(), QStringLiteral("ButtonOkay"));
    press(Qt::Key_Space);

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(core.settings().ShowHint);
    EXPECT_TRUE(core.settings().PlayApplicationSounds);
    EXPECT_TRUE(core.settings().UseUserCurrency);
    EXPECT_TRUE(core.settings().NotifyCallEnded);
    EXPECT_EQ(core.currencyText(), QStringLiteral("€ "));
    EXPECT_FALSE(applicationHintsShown());
}

TEST_F(TSettingsTest, CancelChangesNothing)
{
    const QString textBefore = core.currencyText();
    TSettings dialog(core);
    open(dialog);
    for (int n = 1; n <= 9; ++n)
        QTest::mouseClick(switchAt(dialog, n), Qt::LeftButton);
    QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("Edit1")), QStringLiteral("Fr"));
    QTest::mouseClick(dialog.findChild<QAbstractButton *>(QStringLiteral("ButtonClose")), Qt::LeftButton);

    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    const Settings defaults;
    for (bool Settings::*field : { &Settings::ShowHint, &Settings::PlayApplicationSounds, &Settings::AutoUpdateProvider,
             &Settings::RunAtStartup, &Settings::ShowConnectionTimeOnTitle, &Settings::LoadMinimised,
             &Settings::UseUserCurrency, &Settings::NotifyCallEnded })
        EXPECT_EQ(core.settings().*field, defaults.*field);
    EXPECT_EQ(core.settings().CurrencyString, QString());
    EXPECT_EQ(core.currencyText(), textBefore);
    EXPECT_TRUE(applicationHintsShown());
}

TEST(ApplicationHints, SwitchedOffHintsAreNotShown)
{
    QWidget widget;
    widget.setToolTip(QStringLiteral("a hint"));
    widget.resize(100, 40);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    for (const bool shown : { false, true }) {
        applyApplicationHints(shown);
        QHelpEvent request(QEvent::ToolTip, QPoint(5, 5), widget.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&widget, &request);
        EXPECT_EQ(QToolTip::isVisible(), shown) << shown;
        QToolTip::hideText();
    }
}

TEST_F(TSettingsTest, ReturnOnASwitchSavesWithoutFlippingIt)
{
    TSettings dialog(core);
    open(dialog);
    OnOffSwitch *hints = switchAt(dialog, 1);
    ASSERT_EQ(QApplication::focusWidget(), hints);
    const bool shown = hints->isChecked();
    press(Qt::Key_Return);
    EXPECT_EQ(hints->isChecked(), shown) << "Return is the window's, Space the switch's";
    EXPECT_EQ(dialog.result(), QDialog::Accepted) << "Return pressed Save";
    EXPECT_EQ(core.settings().ShowHint, shown);
}
