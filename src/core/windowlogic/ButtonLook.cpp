#include "core/windowlogic/ButtonLook.h"

void ButtonLook::pointerMoved(bool over)
{
    m_hovered = over;
    if (over)
        m_hotSuppressed = false;
}

void ButtonLook::pointerLeft() { m_hovered = false; }

void ButtonLook::released() { m_hotSuppressed = true; }

ButtonFace ButtonLook::face(bool enabled, bool held, bool latched) const
{
    if (!enabled)
        return ButtonFace::Disabled;
    if (held || latched)
        return ButtonFace::Down;
    if (m_hovered && !m_hotSuppressed)
        return ButtonFace::Hot;
    return ButtonFace::Up;
}
