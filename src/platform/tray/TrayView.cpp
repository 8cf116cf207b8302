#include "platform/tray/TrayView.h"

#include <QStringList>

TrayView trayView(const MonitorDisplay &display)
{
    TrayView view;
    view.connected = display.callLabelsBold;
    QStringList lines;
    if (!display.selectedEntry.isEmpty())
        lines.append(display.selectedEntry);
    lines.append(
        view.connected ? QStringLiteral("%1   %2").arg(display.durationText, display.costText) : display.statusText);
    if (display.todaysCost != QLatin1String("-"))
        lines.append(QStringLiteral("Today %1").arg(display.todaysCost));
    view.toolTip = lines.join(QLatin1Char('\n'));
    view.dialText
        = display.dialMode == MonitorDisplay::DialHangsUp ? QStringLiteral("Hang up") : QStringLiteral("Dial");
    view.dialEnabled = display.dialMode != MonitorDisplay::DialInactive;
    return view;
}
