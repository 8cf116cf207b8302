#include "gui/controls/WindowDragger.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragger::WindowDragger(QWidget *handle)
    : QObject(handle)
    , m_handle(handle)
{
    watch(handle);
}

void WindowDragger::watch(QWidget *widget)
{
    m_watched.append(widget);
    widget->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!m_enabled || !widget || !m_watched.contains(widget))
        return false;
    QWidget *window = m_handle->window();
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            return false;
        QWindow *handle = window->windowHandle();
        if (handle && handle->startSystemMove())
            return true;
        m_grabOffset = mouse->globalPosition().toPoint() - window->pos();
        return true;
    }
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (!m_grabOffset || !(mouse->buttons() & Qt::LeftButton))
            return false;
        window->move(mouse->globalPosition().toPoint() - *m_grabOffset);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (!m_grabOffset || static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            return false;
        m_grabOffset.reset();
        return true;
    default:
        return false;
    }
}
