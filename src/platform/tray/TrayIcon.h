#pragma once

#include "platform/tray/TrayView.h"

#include <QMenu>
#include <QObject>
#include <QSystemTrayIcon>

class QAction;

// The program's icon in the desktop's tray: idle or connected, a tooltip
// with the running call, and a menu. It only reports what the user chose.
class TrayIcon final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayIcon)

public:
    explicit TrayIcon(QObject *parent = nullptr);

    // Whether the desktop shows tray icons at all.
    [[nodiscard]] static bool desktopHasTray();

    void show() { m_icon.show(); }
    void setView(const TrayView &view);
    // The Show or Hide entry follows whether the program's windows are shown.
    void setWindowsShown(bool shown);

    const TrayView &view() const { return m_view; }
    QMenu &menu() { return m_menu; }

signals:
    void dialClicked(); // dial or hang up, as the entry says
    void showHideClicked(); // the entry or a click on the icon
    void callLogClicked();
    void exitClicked();

private:
    QSystemTrayIcon m_icon;
    QMenu m_menu;
    QAction *m_dial;
    QAction *m_showHide;
    TrayView m_view;
    bool m_firstView = true;
};
