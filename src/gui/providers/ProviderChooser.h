#pragma once

#include "core/services/DialUpService.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class ProviderMenu;
class ProviderRegistry;
class QLabel;
class QWidget;

// The main window's choice of provider: a click on the provider button or on
// the provider label lists the phonebook entries in a ProviderMenu over the
// label, and the entry chosen becomes the provider shown and dialled. While
// the list is open the dial button is disabled.
class ProviderChooser final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ProviderChooser)

public:
    // `updateProviderDisplay` refreshes the main window's provider labels.
    ProviderChooser(ProviderRegistry &registry, dialup::DialUpService &service, QWidget *dialButton,
        QLabel *selectedEntry, std::function<void()> updateProviderDisplay);
    ~ProviderChooser() override;

    ProviderMenu &PopupMenu_DialUps() { return *m_menu; }

    // Lists the phonebook entries, tagged 1, 2, ... in the phonebook's order.
    void ButtonChooseProviderClick();
    void SelectedConnectionClick(const QString &caption, int tag);

    // Opens the menu as it stands on a right click on `widget`.
    void attachContextMenu(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void menuClosed();

    ProviderRegistry &m_registry;
    dialup::DialUpService &m_service;
    QPointer<QWidget> m_dialButton;
    QPointer<QLabel> m_selectedEntry;
    std::function<void()> m_updateProviderDisplay;
    std::unique_ptr<ProviderMenu> m_menu;
    bool m_dialDisabledByMenu = false;
    bool m_dialWasEnabled = true;
};
