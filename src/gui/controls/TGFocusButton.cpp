#include "gui/controls/TGFocusButton.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

bool isEnterKey(const QKeyEvent *event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }

} // namespace

TGFocusButton::TGFocusButton(QWidget *parent)
    : TGTextButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void TGFocusButton::setShowsFocusFrame(bool shows)
{
    m_showsFocusFrame = shows;
    update();
}

// Space is QAbstractButton's own; Enter and Return are made to behave the same.
void TGFocusButton::keyPressEvent(QKeyEvent *event)
{
    if (isEnterKey(event) && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat()) {
            m_enterHeld = true;
            setDown(true);
        }
        event->accept();
        return;
    }
    TGTextButton::keyPressEvent(event);
}

void TGFocusButton::keyReleaseEvent(QKeyEvent *event)
{
    // Only a press this button saw: the release of a key whose press closed
    // another dialog must not click the button that now has the focus.
    if (isEnterKey(event) && !event->isAutoRepeat() && m_enterHeld) {
        m_enterHeld = false;
        setDown(false);
        click();
        event->accept();
        return;
    }
    TGTextButton::keyReleaseEvent(event);
}

void TGFocusButton::focusOutEvent(QFocusEvent *event)
{
    if (m_enterHeld) {
        m_enterHeld = false;
        setDown(false);
    }
    TGTextButton::focusOutEvent(event);
}

void TGFocusButton::paintOver(QPainter &painter)
{
    if (!m_showsFocusFrame || !hasFocus())
        return;
    QPen pen(appearance().FrameFocusColor);
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
}
