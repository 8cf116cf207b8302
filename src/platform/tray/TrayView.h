#pragma once

#include "core/connection/MonitorDisplay.h"

#include <QString>

// What the tray icon shows of the monitor: decided here, drawn by TrayIcon.
struct TrayView {
    bool connected = false; // a call is being costed
    QString toolTip; // provider, line or running call, today's total; lines end in "\n"
    QString dialText; // "Dial" or "Hang up"
    bool dialEnabled = false;

    bool operator==(const TrayView &) const = default;
};

[[nodiscard]] TrayView trayView(const MonitorDisplay &display);
