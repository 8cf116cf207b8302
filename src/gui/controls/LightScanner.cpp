#include "gui/controls/LightScanner.h"

#include "core/skins/SkinLayout.h"

#include <QPainter>

#include <algorithm>
#include <cstdlib>

LightScanner::LightScanner(int lights, QWidget *parent)
    : QWidget(parent)
    , m_lights(std::max(1, lights))
{
    setAttribute(Qt::WA_TranslucentBackground);
    m_timer.setInterval(kStepMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &LightScanner::step);
}

void LightScanner::setRunning(bool running)
{
    if (running == isRunning())
        return;
    if (running) {
        m_timer.start();
    } else {
        m_timer.stop();
        m_lit = 0;
        m_direction = 1;
    }
    update();
}

void LightScanner::step()
{
    if (m_lights > 1) {
        if (m_lit + m_direction < 0 || m_lit + m_direction >= m_lights)
            m_direction = -m_direction;
        m_lit += m_direction;
    }
    update();
}

void LightScanner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor bright = QColor::fromRgb(SkinLayout::kLcdText);
    const double step = double(width()) / m_lights;
    for (int i = 0; i < m_lights; ++i) {
        QColor colour = bright.darker(500);
        // The lit light and a fading trail on either side.
        if (isRunning()) {
            const int distance = std::abs(i - m_lit);
            if (distance == 0)
                colour = bright;
            else if (distance == 1)
                colour = bright.darker(200);
        }
        const int left = int(i * step);
        painter.fillRect(QRect(left, 1, std::max(1, int((i + 1) * step) - left - 1), height() - 2), colour);
    }
}
