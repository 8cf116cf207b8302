#include "core/windowlogic/TravellingLine.h"

TravellingLine::TravellingLine(const QStringList &messages)
    : m_text(messages.join(QStringLiteral("          ")))
{
}

void TravellingLine::restart(int stripWidth) { m_x = stripWidth; }

void TravellingLine::advance(int lineWidth, int stripWidth, int pixels)
{
    m_x -= pixels;
    if (m_x + lineWidth <= 0)
        restart(stripWidth);
}
