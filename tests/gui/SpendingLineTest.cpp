#include "gui/app/SpendingLine.h"

#include "core/providers/ProviderRegistry.h"
#include "core/store/DateTimeValue.h"
#include "support/FakeAppCore.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// A warning that asks for a click on the countdown must leave the countdown
// clickable: the message may not be modal.
TEST(SpendingLine, TheCountdownCanBeClickedWhileItsMessageIsOpen)
{
    FakeAppCore fake;
    AppCore &core = fake.core;
    ProviderRegistry(core.providers(), fake.dialUp).ProviderDBadd(QStringLiteral("DemoEntry"));
    core.spending().budgets.insert(QStringLiteral("DemoEntry"), { 1000, 0, true, {}, 0 });
    CurrentCall &call = core.currentCall();
    call.Connected = true;
    call.DialledHere = true;
    call.CallProvider = 0;
    call.CallStart = toDateTimeValue(fake.clock.now());
    call.CallSeconds = 1;
    call.CallCost = 1500; // 150 % of the budget: the countdown starts

    QWidget window;
    SpendingWatch watch(spendingParts(core), fake.clock);
    SpendingLine line(watch, {}, &window);
    line.setGeometry(0, 0, 300, 20);
    window.show();
    // Should a message wait for an answer, it is answered, so the test ends.
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    guard.start(2000);

    watch.update();
    QApplication::processEvents();
    ASSERT_EQ(watch.display().hangUpCountdown, SpendingWatch::kAutoHangUpSeconds);
    QDialog *message = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible())
            message = dialog;
    ASSERT_NE(message, nullptr) << "the warning shows";
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "and blocks nothing";
    QTest::mouseClick(&line, Qt::LeftButton);
    EXPECT_EQ(watch.display().hangUpCountdown, -1) << "the click cancelled the countdown";
    EXPECT_TRUE(message->isVisible());
    message->close();
}
