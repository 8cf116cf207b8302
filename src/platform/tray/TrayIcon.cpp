#include "platform/tray/TrayIcon.h"

#include "core/skins/AppIcon.h"

#include <QIcon>
#include <QPixmap>

#include <array>

namespace {

QIcon iconFor(AppIconState state)
{
    QIcon icon;
    for (const int size : std::array { 16, 22, 24, 32, 48, 64 })
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(size, state)));
    return icon;
}

} // namespace

TrayIcon::TrayIcon(QObject *parent)
    : QObject(parent)
    , m_dial(m_menu.addAction(QStringLiteral("Dial")))
    , m_showHide(m_menu.addAction(QStringLiteral("Hide")))
{
    const QAction *callLog = m_menu.addAction(QStringLiteral("Call log"));
    m_menu.addSeparator();
    const QAction *exit = m_menu.addAction(QStringLiteral("Exit"));
    connect(m_dial, &QAction::triggered, this, &TrayIcon::dialClicked);
    connect(m_showHide, &QAction::triggered, this, &TrayIcon::showHideClicked);
    connect(callLog, &QAction::triggered, this, &TrayIcon::callLogClicked);
    connect(exit, &QAction::triggered, this, &TrayIcon::exitClicked);
    m_icon.setContextMenu(&m_menu);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit showHideClicked();
    });
    setView({});
}

bool TrayIcon::desktopHasTray() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::setView(const TrayView &view)
{
    // Once a second: the desktop is told only of what changed.
    if (!m_firstView && view == m_view)
        return;
    if (m_firstView || view.connected != m_view.connected)
        m_icon.setIcon(iconFor(view.connected ? AppIconState::Connected : AppIconState::Idle));
    m_firstView = false;
    m_view = view;
    m_icon.setToolTip(view.toolTip);
    m_dial->setText(view.dialText.isEmpty() ? QStringLiteral("Dial") : view.dialText);
    m_dial->setEnabled(view.dialEnabled);
}

void TrayIcon::setWindowsShown(bool shown)
{
    m_showHide->setText(shown ? QStringLiteral("Hide") : QStringLiteral("Show"));
}
