#include "gui/controls/TGShape.h"

#include <QMouseEvent>
#include <QPainter>

TGShape::TGShape(QWidget *parent)
    : QWidget(parent)
{
}

void TGShape::setBrush(const QBrush &brush)
{
    m_brush = brush;
    update();
}

void TGShape::setPen(const QPen &pen)
{
    m_pen = pen;
    update();
}

void TGShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setBrush(m_brush);
    painter.setPen(m_pen);
    // The outline lies inside the shape's rectangle whatever its width.
    const int width = m_pen.style() == Qt::NoPen ? 0 : std::max(1, m_pen.width());
    const int before = width / 2;
    const int after = width - before;
    painter.drawRect(rect().adjusted(before, before, -after, -after));
}

void TGShape::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button());
    event->accept();
}
