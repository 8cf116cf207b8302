#include "DataFileBytes.h"
#include "Desktop.h"
#include "ProgramFolder.h"
#include "RunningProgram.h"
#include "core/skins/SkinLayout.h"
#include "support/NmMock.h"

#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <iostream>

using namespace DataFileBytes;

// The real program against a mock NetworkManager on a private bus: a modem
// connection that another program brings up is costed and logged under its
// name, and a call whose line is gone when NetworkManager comes back ended
// when it went away.
TEST(NetworkManagerEndToEnd, OutsideCallsAreCostedAndLoggedAndSurviveNetworkManagerGoing)
{
    NmMock mock;
    ASSERT_TRUE(mock.error().isEmpty()) << mock.error().toStdString();
    const QString modem = mock.addDevice(QStringLiteral("ttyUSB0"), 30);
    const QString wlan = mock.addDevice(QStringLiteral("wlan0"), 30);
    const QString mobile = mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    mock.activate(mock.addConnection(QStringLiteral("Home Wi-Fi"), QStringLiteral("802-11-wireless")), wlan, 2,
        QStringLiteral("wifi"));

    ProgramFolder folder;
    ASSERT_TRUE(folder.error().isEmpty()) << folder.error().toStdString();
    folder.setSystemBus(mock.address());
    // 0.02 a second and 0.05 per call.
    folder.writeFile(QStringLiteral("Tariffs.data"),
        tariffsFile({ .id = 3, .name = "Seconds", .unitKind = 2, .chargeKind = 1, .unitCost = 200, .minCharge = 500 }));
    folder.writeFile(QStringLiteral("settings.data"),
        "[Application]\r\nTarifs.NumberOfRecords=1\r\nLastTariffIdNumber=3\r\n"
        "DialUpService=NetworkManager\r\n");
    Desktop desktop;
    RunningProgram program(folder, desktop);
    ASSERT_TRUE(program.start());
    const auto main = program.mainWindow();
    ASSERT_TRUE(main.has_value()) << program.output().toStdString();

    const QString first = mock.activate(mobile, modem, 2, QStringLiteral("modem"));
    QThread::msleep(4000);
    mock.removeActive(modem, first);
    ASSERT_TRUE(folder.waitForLoggedCalls(1, 5000)) << program.output().toStdString();

    mock.activate(mobile, modem, 2, QStringLiteral("modem"));
    QThread::msleep(3000);
    mock.kill();
    QThread::msleep(1500);
    ASSERT_TRUE(mock.start());
    mock.addConnection(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    ASSERT_TRUE(folder.waitForLoggedCalls(2, 8000)) << "the call outlived NetworkManager";
    ASSERT_TRUE(program.isRunning());
    ASSERT_TRUE(program.closeThroughDialog());

    const QByteArray providers = folder.readFile(QStringLiteral("Providers.data"));
    const std::optional<int> index = providerIndex(providers, QStringLiteral("Mobile"));
    ASSERT_TRUE(index.has_value());
    EXPECT_FALSE(providerIndex(providers, QStringLiteral("Home Wi-Fi")).has_value()) << "a Wi-Fi line is no provider";
    const QByteArray log = folder.readFile(QStringLiteral("Log.data"));
    for (int slot = 0; slot < 2; ++slot) {
        SCOPED_TRACE(slot);
        const std::uint32_t duration = u32(log, callOffset(slot) + 16);
        EXPECT_NEAR(double(duration), slot == 0 ? 4.0 : 3.0, 1.0);
        EXPECT_EQ(u8(log, callOffset(slot) + 12), *index);
        EXPECT_EQ(i64(log, callOffset(slot) + 20), 500 + std::int64_t(duration) * 200);
    }
}

// A dial NetworkManager refuses: its reason is shown whole, in the program's
// words, wrapped in the dialling window, with and without a window manager.
// The pictures are for a person to look at.
TEST(NetworkManagerEndToEnd, ARefusedDialShowsItsReasonWhole)
{
    for (const bool managed : { false, true }) {
        SCOPED_TRACE(managed ? "openbox" : "no window manager");
        QProcess manager;
        if (managed) {
            const QString openbox = QStandardPaths::findExecutable(QStringLiteral("openbox"));
            if (openbox.isEmpty())
                GTEST_SKIP() << "openbox is not installed (scripts/install-deps.sh test)";
            manager.start(openbox, { QStringLiteral("--sm-disable") });
            ASSERT_TRUE(manager.waitForStarted(5000));
            QThread::msleep(500);
        }
        NmMock mock;
        ASSERT_TRUE(mock.error().isEmpty()) << mock.error().toStdString();
        mock.addDevice(QStringLiteral("ttyUSB0"), 30);
        mock.addConnection(QStringLiteral("Mobile GSM"), QStringLiteral("gsm"));
        mock.refuse(QStringLiteral("ActivateConnection"),
            QStringLiteral("org.freedesktop.NetworkManager.UnknownConnection"),
            QStringLiteral("No suitable device found for this connection (device ttyUSB0 not available because "
                           "profile is not compatible with device (mismatching interface name))."));
        ProgramFolder folder;
        ASSERT_TRUE(folder.error().isEmpty()) << folder.error().toStdString();
        folder.setSystemBus(mock.address());
        folder.writeFile(QStringLiteral("settings.data"), "[Application]\r\nDialUpService=NetworkManager\r\n");
        Desktop desktop;
        RunningProgram program(folder, desktop);
        ASSERT_TRUE(program.start());
        const auto main = program.readyMainWindow();
        ASSERT_TRUE(main.has_value()) << program.output().toStdString();
        program.clickIn(*main, SkinLayout::MainWindow::ButtonDial);
        const auto dialling = program.window(SkinLayout::ConnectDialog::kSize);
        ASSERT_TRUE(dialling.has_value());
        // The refusal arrives as the dial's next step, and the animation stops with it.
        QThread::msleep(1500);
        desktop.saveScreenshot(
            *dialling, QStringLiteral("nm-refused-dial") + (managed ? QStringLiteral("-openbox") : QString()));
        EXPECT_TRUE(program.isRunning());
        if (managed) {
            manager.terminate();
            manager.waitForFinished(3000);
        }
    }
}
