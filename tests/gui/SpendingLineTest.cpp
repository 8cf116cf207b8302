#include "gui/app/SpendingLine.h"

#include "core/providers/ProviderRegistry.h"
#include "core/skins/SkinLayout.h"
#include "core/store/DateTimeValue.h"
#include "gui/controls/SkinLook.h"
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

// A call's data in the main window's width and font: the call's figures
// must show whole, the received one included, which the line's elision at
// the left would cut first; what is left of a large allowance may give way.
TEST(SpendingLine, ACallsDataFitsTheMainWindowWithTheCallsFigures)
{
    struct Case {
        CallVolume volume;
        std::int64_t allowance;
        QStringList shown;
        QString words; // in the tool tip
    };
    const Case cases[] = {
        { { 997'900'000, 99'800'000 }, 2 * VolumePlan::kGigabyte,
            { QStringLiteral("997.9"), QStringLiteral("99.8 MB"), QStringLiteral("902.3 MB left") },
            QStringLiteral("997.9 MB in, 99.8 MB out, 902.3 MB left") },
        { { 10'820'000'000, 1'080'000'000 }, VolumePlan::kMaxBytes,
            { QStringLiteral("10.82"), QStringLiteral("1.08 GB") },
            QStringLiteral("10.82 GB in, 1.08 GB out, 9,988.10 GB left") },
    };
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    for (const Case &c : cases) {
        FakeAppCore fake;
        AppCore &core = fake.core;
        ProviderRegistry(core.providers(), fake.dialUp).ProviderDBadd(QStringLiteral("Mobile Broadband"));
        VolumePlan plan;
        plan.allowanceBytes = c.allowance;
        core.volumePlans().insert(QStringLiteral("Mobile Broadband"), plan);
        CurrentCall &call = core.currentCall();
        call.Connected = true;
        call.CallProvider = 0;
        call.CallStart = toDateTimeValue(fake.clock.now());
        call.Volume = c.volume;

        QWidget window;
        SpendingWatch watch(spendingParts(core), fake.clock);
        watch.dataCharge().onVolume(call);
        SpendingLine line(watch, {}, &window);
        line.setFont(SkinLook::font(11, false));
        line.setGeometry(SkinLayout::MainWindow::LabelSpending);
        watch.update();
        for (const QString &figure : c.shown)
            EXPECT_TRUE(line.text().contains(figure)) << figure.toStdString() << " in " << line.text().toStdString();
        EXPECT_TRUE(line.toolTip().contains(c.words)) << line.toolTip().toStdString();
    }
    QLocale::setDefault(before);
}
