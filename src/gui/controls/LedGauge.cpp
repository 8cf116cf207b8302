#include "gui/controls/LedGauge.h"

#include <QPainter>

#include <algorithm>

LedGauge::LedGauge(int low, int medium, int high, QWidget *parent)
    : QWidget(parent)
    , m_low(low)
    , m_medium(medium)
    , m_high(high)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void LedGauge::setRange(int minimum, int maximum)
{
    if (minimum == m_minimum && maximum == m_maximum)
        return;
    m_minimum = minimum;
    m_maximum = maximum;
    update();
}

void LedGauge::setPosition(int position)
{
    if (position == m_position)
        return;
    m_position = position;
    update();
}

int LedGauge::litLights() const
{
    if (m_maximum <= m_minimum)
        return 0;
    const qint64 done = std::clamp(m_position, m_minimum, m_maximum) - m_minimum;
    return int(done * lightCount() / (m_maximum - m_minimum));
}

void LedGauge::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int count = lightCount();
    if (count == 0)
        return;
    const int lit = litLights();
    const double step = double(width()) / count;
    for (int i = 0; i < count; ++i) {
        QColor colour = i < m_low  ? QColor(60, 220, 90)
            : i < m_low + m_medium ? QColor(240, 210, 40)
                                   : QColor(240, 60, 50);
        if (i >= lit)
            colour = colour.darker(400);
        const int left = int(i * step);
        painter.fillRect(QRect(left, 0, std::max(1, int((i + 1) * step) - left - 2), height()), colour);
    }
}
