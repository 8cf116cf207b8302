#include "gui/controls/TGFocusButton.h"

#include "core/skins/Look.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

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
    // A solid ring inside the edge, in the face's own rounding.
    const qreal radius = std::max(0, appearance().Radius - 2);
    painter.setRenderHint(QPainter::Antialiasing, radius > 0);
    painter.setPen(QPen(appearance().FrameFocusColor, Look::kFocusRingWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(3, 3, -3, -3), radius, radius);
}
