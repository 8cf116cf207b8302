#pragma once

#include "support/SessionBusMock.h"

#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QVariant>

// A desktop's tray on a private session bus: a StatusNotifierWatcher that
// says a host shows the items, and the ways the host talks to an item.
// Calls to an item never block, so the item may live in this process.
class StatusNotifierWatcherMock {
public:
    explicit StatusNotifierWatcherMock(SessionBusMock &bus);

    // Empty when the watcher is on the bus, otherwise what went wrong.
    [[nodiscard]] QString error() const { return m_error; }

    // The bus name of the first item that registered within `ms`; empty when none did.
    [[nodiscard]] QString registeredItem(int ms = 5000) const;

    struct MenuEntry {
        int id = 0;
        QString label; // without its mnemonic marks
        bool enabled = true;
    };
    [[nodiscard]] QVariant itemProperty(const QString &item, const QString &name) const;
    [[nodiscard]] QList<MenuEntry> menu(const QString &item) const;
    // Clicks the menu entry of that label; false when there is none or the item refused.
    [[nodiscard]] bool click(const QString &item, const QString &label) const;
    // A click on the icon itself.
    void activate(const QString &item) const;

private:
    QDBusMessage call(const QDBusMessage &message) const;

    SessionBusMock &m_bus;
    QString m_error;
};
