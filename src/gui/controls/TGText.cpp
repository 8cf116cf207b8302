#include "gui/controls/TGText.h"

#include <QPainter>

TGText::TGText(QWidget *parent)
    : QWidget(parent)
{
}

void TGText::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void TGText::setColor(QColor colour)
{
    m_color = colour;
    update();
}

void TGText::setFontColor(QColor colour)
{
    m_fontColor = colour;
    update();
}

void TGText::setTransparent(bool transparent)
{
    m_transparent = transparent;
    update();
}

void TGText::setAngle(int degrees)
{
    m_angle = degrees;
    update();
}

void TGText::setOrigin(QPoint origin)
{
    m_origin = origin;
    update();
}

void TGText::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(rect(), m_color);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(m_fontColor);
    painter.translate(m_origin);
    // Qt turns clockwise for positive angles; the caption's angle is anticlockwise.
    painter.rotate(-m_angle);
    painter.drawText(QPoint(0, painter.fontMetrics().ascent()), m_caption);
}
