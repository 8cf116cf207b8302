#include "gui/controls/ReturnPresses.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPointer>

namespace {

// Sees the key presses the window's widgets leave unanswered, as they pass
// up to the window.
class ReturnFilter final : public QObject {
public:
    ReturnFilter(QWidget *window, QAbstractButton *button)
        : QObject(window)
        , m_window(window)
        , m_button(button)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (!enter || modifiers != Qt::NoModifier || !m_button || !m_button->isEnabled() || !m_button->isVisible())
            return false;
        m_button->click();
        return true;
    }

private:
    QWidget *m_window;
    QPointer<QAbstractButton> m_button;
};

} // namespace

void pressOnReturn(QWidget *window, QAbstractButton *button)
{
    window->installEventFilter(new ReturnFilter(window, button));
}
