#include "platform/tray/TrayView.h"

#include <gtest/gtest.h>

TEST(TrayView, TheTooltipFollowsTheLineAndTheRunningCall)
{
    MonitorDisplay before; // the first tick has not come yet
    MonitorDisplay idle;
    idle.selectedEntry = QStringLiteral("Café Net");
    idle.todaysCost = QStringLiteral("£ 1.20");
    idle.dialMode = MonitorDisplay::DialDials;
    MonitorDisplay calling = idle;
    calling.statusText = QStringLiteral("Dialling...");
    calling.dialMode = MonitorDisplay::DialHangsUp;
    MonitorDisplay connected = calling;
    connected.callLabelsBold = true;
    connected.durationText = QStringLiteral("01:02:03");
    connected.costText = QStringLiteral("£ 12,345.67");
    connected.todaysCost = QStringLiteral("£ 12,346.87");

    const struct {
        const char *name;
        MonitorDisplay display;
        TrayView view;
    } cases[] = {
        { "before the first tick", before, { false, QStringLiteral("Not Connected"), QStringLiteral("Dial"), false } },
        { "idle", idle,
            { false, QStringLiteral("Café Net\nNot Connected\nToday £ 1.20"), QStringLiteral("Dial"), true } },
        { "dialling", calling,
            { false, QStringLiteral("Café Net\nDialling...\nToday £ 1.20"), QStringLiteral("Hang up"), true } },
        { "connected", connected,
            { true, QStringLiteral("Café Net\n01:02:03   £ 12,345.67\nToday £ 12,346.87"), QStringLiteral("Hang up"),
                true } },
    };
    for (const auto &c : cases) {
        const TrayView view = trayView(c.display);
        EXPECT_EQ(view.connected, c.view.connected) << c.name;
        EXPECT_EQ(view.toolTip, c.view.toolTip) << c.name;
        EXPECT_EQ(view.dialText, c.view.dialText) << c.name;
        EXPECT_EQ(view.dialEnabled, c.view.dialEnabled) << c.name;
    }
}
