#include "gui/controls/ClockText.h"

#include "gui/controls/SkinLook.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A window of the clock's size and background holding one text control.
struct ClockWindow {
    explicit ClockWindow(int x)
    {
        window.setWindowFlag(Qt::FramelessWindowHint);
        window.setGeometry(x, 100, 156, 16);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, QColor(20, 40, 60));
        palette.setColor(QPalette::WindowText, QColor(120, 220, 250));
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.setFont(SkinLook::font(11));
    }
    QImage shown() const { return window.screen()->grabWindow(window.winId()).toImage(); }

    QWidget window;
};

} // namespace

// Second by second, across a minute, an hour, a day and a width change, the
// clock shows what a label given the same texts shows: the digits it puts in
// place of others land where a label's would, and nothing of the old ones stays.
TEST(ClockText, ShowsEachSecondAsALabelWould)
{
    ClockWindow labelWindow(0);
    auto *label = new QLabel(&labelWindow.window);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(0, 0, 156, 16);
    ClockWindow clockWindow(200);
    auto *clock = new ClockText(Qt::AlignRight | Qt::AlignVCenter, &clockWindow.window);
    clock->setGeometry(0, 0, 156, 16);
    for (ClockWindow *shown : { &labelWindow, &clockWindow }) {
        shown->window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown->window));
    }

    QDateTime moment(QDate(2026, 12, 11), QTime(23, 58, 57));
    QStringList texts;
    for (int i = 0; i < 70; ++i, moment = moment.addSecs(1))
        texts << QLocale::c().toString(moment, QStringLiteral("hh:mm:ss,  ddd d MMM yy"));
    // Digits some fonts kern against each other.
    for (const char *time : { "11:11:09", "11:11:10", "11:11:11", "11:11:12", "11:12:11", "17:17:17", "14:14:41" })
        texts << QString::fromLatin1(time) + QStringLiteral(",  Sat 12 Dec 26");
    texts << QStringLiteral("1:11:11") << QStringLiteral("8:88:88") << QString() << QStringLiteral("00:00:09");
    for (const QString &text : texts) {
        label->setText(text);
        clock->setText(text);
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        EXPECT_EQ(clock->text(), text);
        EXPECT_EQ(clockWindow.shown(), labelWindow.shown()) << text.toStdString();
    }
}
