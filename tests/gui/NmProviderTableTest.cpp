#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"
#include "gui/controls/SkinButton.h"
#include "platform/networkmanager/NmDialUpService.h"

#include "layout/LayoutChecker.h"
#include "support/FakeClock.h"
#include "support/FakeServices.h"
#include "support/NmMock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// The main window on a mock NetworkManager that has more dial-up connections
// than the provider table can hold.
namespace {

constexpr int kConnections = 376;

QString connectionName(int number) { return QStringLiteral("Mobile line %1").arg(number, 3, 10, QLatin1Char('0')); }

// Presses OK on each message as it opens, keeping its text.
class MessageCatcher {
public:
    MessageCatcher()
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { answer(); });
        m_poll.start(10);
    }
    QStringList shown;

private:
    void answer()
    {
        QWidget *dialog = QApplication::activeModalWidget();
        auto *ok = dialog ? dialog->findChild<QAbstractButton *>(QStringLiteral("OK")) : nullptr;
        if (!ok)
            return;
        QString text;
        for (const QLabel *label : dialog->findChildren<QLabel *>())
            text += label->text();
        shown.append(text);
        ok->click();
    }
    QTimer m_poll;
};

TEST(NmProviderTableTest, AConnectionBeyondAFullTableIsToldOnceAndBookedToTheSelectedProvider)
{
    NmMock mock;
    ASSERT_TRUE(mock.error().isEmpty()) << mock.error().toStdString();
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    QStringList connections;
    for (int i = 0; i < kConnections; ++i)
        connections.append(mock.addConnection(connectionName(i), QStringLiteral("gsm")));
    NmDialUpService service(mock.bus());
    ASSERT_TRUE(service.waitUntilReady(5000)) << "more settings asked for at once than the bus lets wait";

    QTemporaryDir dir;
    FakeClock clock;
    RecordingSoundPlayer sound;
    RecordingStartupRegistration startup;
    TCallLog callLog;
    TBlind blind;
    MessageCatcher messages;
    Tapp app(QDir(dir.path()).filePath(QStringLiteral("tollwise")), AppServices { clock, sound, startup, service },
        &callLog, &blind);
    app.show();
    const auto tick = [&] {
        QTest::qWait(40);
        clock.advanceSeconds(1);
        app.monitor().tick();
    };
    const auto tickUntil = [&](const std::function<bool()> &done) {
        for (int i = 0; i < 40 && !done(); ++i)
            tick();
        return done();
    };
    const ProviderTable &providers = app.core().providers();
    ASSERT_TRUE(tickUntil([&] { return providers.Count == 254 && !messages.shown.isEmpty(); }))
        << providers.Count << " providers, " << messages.shown.size() << " messages";
    const int selected = providers.Current;
    const QString selectedName = providers.records[selected].Name.text();

    // Two calls on connections that have no provider record: told once, booked as the registry books them.
    for (const int beyond : { 300, 375 }) {
        const QString line = mock.activate(connections[beyond], modem, 2, QStringLiteral("l%1").arg(beyond));
        ASSERT_TRUE(tickUntil([&] { return app.core().currentCall().Connected; })) << beyond;
        tick();
        tick();
        mock.removeActive(modem, line);
        ASSERT_TRUE(tickUntil([&] { return !app.core().currentCall().Connected; })) << beyond;
    }
    QTest::qWait(100);
    ASSERT_EQ(app.core().log().Count, 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(app.core().log().records[i].ProviderIndex, selected) << "call " << i;
    EXPECT_EQ(providers.Count, 254);
    ASSERT_EQ(messages.shown.size(), 1) << messages.shown.join(u'\n').toStdString();
    const QString &text = messages.shown.constFirst();
    EXPECT_TRUE(text.contains(QStringLiteral("full"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1Char('"') + selectedName + QLatin1Char('"'))) << text.toStdString();

    // Every connection can still be chosen, from a list that scrolls in one column on the screen.
    auto *choose = app.findChild<SkinButton *>(QStringLiteral("ButtonChooseProvider"));
    ASSERT_NE(choose, nullptr);
    choose->click();
    auto *menu = app.findChild<QMenu *>(QStringLiteral("PopupMenu_DialUps"));
    if (!menu)
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("PopupMenu_DialUps"))
                menu = qobject_cast<QMenu *>(widget);
    ASSERT_NE(menu, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(menu->actions().size(), kConnections);
    const QStringList faults
        = LayoutChecker().checkMenu(*menu, app.findChild<QLabel *>(QStringLiteral("grpSelectedEntry")));
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    menu->hide();
}

} // namespace
