#include "gui/controls/DefaultButton.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QWidget>

DefaultButton::DefaultButton(QWidget *window, QList<QAbstractButton *> buttons)
    : QObject(window)
{
    for (QAbstractButton *button : buttons)
        m_buttons.append(button);
    window->installEventFilter(this);
}

bool DefaultButton::eventFilter(QObject *watched, QEvent *event)
{
    // A key a control left unused comes to its window last.
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return QObject::eventFilter(watched, event);
    for (const QPointer<QAbstractButton> &button : std::as_const(m_buttons))
        if (button && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    return true; // nothing to press: the key does nothing else either
}
