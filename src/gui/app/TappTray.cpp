#include "gui/app/TappTray.h"

#include "gui/app/TBlind.h"
#include "gui/app/Tapp.h"
#include "gui/calllog/TCallLog.h"

TappTray::TappTray(Tapp &app, TCallLog &callLog, TBlind &blind, QObject *parent)
    : QObject(parent)
    , m_app(app)
    , m_callLog(callLog)
    , m_blind(blind)
{
    connect(&app.monitor(), &CallMonitor::displayChanged, this,
        [this] { m_icon.setView(trayView(m_app.monitor().display())); });
    connect(&m_icon, &TrayIcon::dialClicked, &app.dialler(), &Dialler::ButtonDialClick);
    connect(&m_icon, &TrayIcon::showHideClicked, this, &TappTray::toggleWindows);
    connect(&m_icon, &TrayIcon::callLogClicked, this, &TappTray::showCallLog);
    connect(&m_icon, &TrayIcon::exitClicked, this, &TappTray::exitProgram);
    m_icon.setView(trayView(app.monitor().display()));
    m_icon.setWindowsShown(windowsShown());
    m_icon.show();
}

bool TappTray::windowsShown() const { return m_app.isVisible() && !m_app.isMinimized(); }

void TappTray::hideWindows()
{
    if (m_app.isVisible())
        m_callLogWasVisible = m_callLog.isVisible();
    m_app.hide();
    m_callLog.hide();
    m_blind.hide();
    m_icon.setWindowsShown(false);
}

void TappTray::showWindows()
{
    m_app.showNormal();
    m_callLog.setVisible(m_callLogWasVisible);
    m_blind.show();
    m_app.dockWindows();
    m_app.raise();
    m_app.activateWindow();
    m_icon.setWindowsShown(true);
}

void TappTray::toggleWindows()
{
    if (windowsShown())
        hideWindows();
    else
        showWindows();
}

void TappTray::showCallLog()
{
    m_callLogWasVisible = true;
    if (m_callLog.height() <= TCallLog::kHiddenHeight)
        m_callLog.resize(TCallLog::kWidth, kDesignedCallLogHeight);
    showWindows();
    m_callLog.raise();
}

void TappTray::exitProgram()
{
    // The exit question belongs to the main window; it is asked where the user can see the program.
    showWindows();
    m_app.close();
}
