#pragma once

#include "platform/tray/TrayIcon.h"

#include <QObject>

class TBlind;
class TCallLog;
class Tapp;

// The program in the desktop's tray: the icon follows the monitor, and its
// menu does what the main window's buttons do. Hiding takes the main window
// and the two windows docked under it off the desktop together.
class TappTray final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TappTray)

public:
    TappTray(Tapp &app, TCallLog &callLog, TBlind &blind, QObject *parent = nullptr);

    TrayIcon &icon() { return m_icon; }
    [[nodiscard]] bool windowsShown() const;
    void hideWindows();
    void showWindows();

private:
    void toggleWindows();
    void showCallLog();
    void exitProgram();

    Tapp &m_app;
    TCallLog &m_callLog;
    TBlind &m_blind;
    TrayIcon m_icon;
    bool m_callLogWasVisible = true;
};
