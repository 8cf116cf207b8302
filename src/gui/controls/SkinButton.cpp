#include "gui/controls/SkinButton.h"

#include <QEnterEvent>
#include <QMouseEvent>

SkinButton::SkinButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setMouseTracking(true);
}

ButtonFace SkinButton::face() const { return m_look.face(isEnabled(), isDown(), isChecked()); }

void SkinButton::enterEvent(QEnterEvent *event)
{
    m_look.pointerMoved(true);
    update();
    QAbstractButton::enterEvent(event);
}

void SkinButton::leaveEvent(QEvent *event)
{
    m_look.pointerLeft();
    update();
    QAbstractButton::leaveEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent *event)
{
    m_look.pointerMoved(rect().contains(event->position().toPoint()));
    update();
    QAbstractButton::mouseMoveEvent(event);
}

void SkinButton::mouseReleaseEvent(QMouseEvent *event)
{
    // Before the click goes out: its handler may open a dialog that paints
    // the button meanwhile.
    if (event->button() == Qt::LeftButton)
        m_look.released();
    update();
    QAbstractButton::mouseReleaseEvent(event);
}

void SkinButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        // The pointer may have come or gone while the button took no events.
        if (underMouse())
            m_look.pointerMoved(true);
        else
            m_look.pointerLeft();
        update();
    }
    QAbstractButton::changeEvent(event);
}
