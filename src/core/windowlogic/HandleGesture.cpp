#include "core/windowlogic/HandleGesture.h"

void HandleGesture::press(QPoint global)
{
    m_start = global;
    m_pressed = true;
    m_dragging = false;
}

std::optional<int> HandleGesture::move(QPoint global)
{
    if (!m_pressed)
        return std::nullopt;
    if (!m_dragging && (global - m_start).manhattanLength() >= kDragDistance)
        m_dragging = true;
    if (!m_dragging)
        return std::nullopt;
    return global.y() - m_start.y();
}

bool HandleGesture::release()
{
    const bool click = m_pressed && !m_dragging;
    m_pressed = false;
    m_dragging = false;
    return click;
}
