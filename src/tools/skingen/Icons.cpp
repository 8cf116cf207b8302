#include "tools/skingen/Icons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

// Sets up a 16 x 16 drawing space centred in the box.
class IconSpace {
public:
    IconSpace(QPainter &painter, const QRectF &box)
        : m_painter(painter)
    {
        m_painter.save();
        m_painter.translate(box.center());
        const qreal scale = std::min(box.width(), box.height()) / 16.0;
        m_painter.scale(scale, scale);
    }
    ~IconSpace() { m_painter.restore(); }
    IconSpace(const IconSpace &) = delete;
    IconSpace &operator=(const IconSpace &) = delete;

private:
    QPainter &m_painter;
};

QPen stroke(const QColor &colour, qreal width = 1.8)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

} // namespace

namespace Icons {

void gear(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    QPainterPath teeth;
    constexpr int kTeeth = 8;
    for (int i = 0; i < kTeeth * 2; ++i) {
        const qreal angle = i * std::numbers::pi / kTeeth;
        const qreal radius = (i % 2 == 0) ? 7.2 : 5.4;
        const qreal half = std::numbers::pi / kTeeth * 0.45;
        const QPointF a(radius * std::cos(angle - half), radius * std::sin(angle - half));
        const QPointF b(radius * std::cos(angle + half), radius * std::sin(angle + half));
        if (i == 0)
            teeth.moveTo(a);
        else
            teeth.lineTo(a);
        teeth.lineTo(b);
    }
    teeth.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 2.4, 2.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(teeth.subtracted(hole));
}

void plus(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 2.2));
    painter.drawLine(QPointF(0, -6), QPointF(0, 6));
    painter.drawLine(QPointF(-6, 0), QPointF(6, 0));
}

void priceTag(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    QPainterPath tag;
    tag.moveTo(-6.5, -6.5);
    tag.lineTo(0.5, -6.5);
    tag.lineTo(7, 0);
    tag.lineTo(0, 7);
    tag.lineTo(-6.5, 0.5);
    tag.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(-3, -3), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(tag.subtracted(hole));
}

void person(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, -3.2), 3.4, 3.4);
    QPainterPath body;
    body.moveTo(-6.5, 7);
    body.cubicTo(-6.5, 1, 6.5, 1, 6.5, 7);
    body.closeSubpath();
    painter.drawPath(body);
}

void info(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), 7, 7);
    painter.setPen(stroke(colour, 2.2));
    painter.drawLine(QPointF(0, -0.5), QPointF(0, 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, -3.6), 1.3, 1.3);
}

void question(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), 7, 7);
    QPainterPath hook;
    hook.moveTo(-2.4, -2.2);
    hook.cubicTo(-2.4, -5.2, 2.8, -5.2, 2.6, -2.2);
    hook.cubicTo(2.4, -0.4, 0, -0.2, 0, 1.6);
    painter.setPen(stroke(colour, 2));
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, 4.3), 1.3, 1.3);
}

void minimise(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 2.2));
    painter.drawLine(QPointF(-5, 3.5), QPointF(5, 3.5));
}

void cross(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 2.2));
    painter.drawLine(QPointF(-4.5, -4.5), QPointF(4.5, 4.5));
    painter.drawLine(QPointF(-4.5, 4.5), QPointF(4.5, -4.5));
}

void pencil(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.rotate(45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(QRectF(-2, -7, 4, 9.5));
    QPainterPath tip;
    tip.moveTo(-2, 3.5);
    tip.lineTo(2, 3.5);
    tip.lineTo(0, 7.5);
    tip.closeSubpath();
    painter.drawPath(tip);
}

void chevronDown(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 2.4));
    painter.setBrush(Qt::NoBrush);
    QPainterPath chevron;
    chevron.moveTo(-4.5, -2);
    chevron.lineTo(0, 2.5);
    chevron.lineTo(4.5, -2);
    painter.drawPath(chevron);
}

void envelope(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(-7, -5, 14, 10), 1.5, 1.5);
    QPainterPath flap;
    flap.moveTo(-6.5, -4.2);
    flap.lineTo(0, 1);
    flap.lineTo(6.5, -4.2);
    painter.drawPath(flap);
}

void globe(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), 6.5, 6.5);
    painter.drawEllipse(QPointF(0, 0), 2.8, 6.5);
    painter.drawLine(QPointF(-6.5, 0), QPointF(6.5, 0));
    painter.drawLine(QPointF(-5.6, -3.2), QPointF(5.6, -3.2));
    painter.drawLine(QPointF(-5.6, 3.2), QPointF(5.6, 3.2));
}

void trash(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawLine(QPointF(-6, -4.5), QPointF(6, -4.5));
    painter.drawLine(QPointF(-2, -6.5), QPointF(2, -6.5));
    QPainterPath can;
    can.moveTo(-4.5, -4.5);
    can.lineTo(-3.6, 6.5);
    can.lineTo(3.6, 6.5);
    can.lineTo(4.5, -4.5);
    painter.drawPath(can);
    painter.drawLine(QPointF(-1.3, -1.5), QPointF(-1.1, 4));
    painter.drawLine(QPointF(1.3, -1.5), QPointF(1.1, 4));
}

void sweep(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 1.8));
    painter.drawLine(QPointF(5.5, -7), QPointF(0.5, 1));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath brush;
    brush.moveTo(-1.5, -0.5);
    brush.lineTo(3.5, 2.5);
    brush.lineTo(0.5, 7.5);
    brush.lineTo(-6.5, 4.5);
    brush.closeSubpath();
    painter.drawPath(brush);
}

void exclamation(QPainter &painter, const QRectF &box, const QColor &colour)
{
    const IconSpace space(painter, box);
    painter.setPen(stroke(colour, 2.6));
    painter.drawLine(QPointF(0, -6), QPointF(0, 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(0, 5.6), 1.6, 1.6);
}

void handset(QPainter &painter, const QRectF &box, const QColor &colour, bool hungUp)
{
    const IconSpace space(painter, box);
    painter.rotate(hungUp ? 135 : 0);
    // A curved handle between an ear piece and a mouth piece.
    QPainterPath shape;
    shape.moveTo(-7, -3);
    shape.cubicTo(-7, -7.5, -4, -8, -2.5, -6.5);
    shape.lineTo(-1, -4.5);
    shape.cubicTo(-0.3, -3.5, -1, -2.4, -2.2, -2);
    shape.cubicTo(-2.8, -0.5, -1.2, 2.6, 1.8, 3.2);
    shape.cubicTo(2.4, 2, 3.6, 1.4, 4.6, 2.2);
    shape.lineTo(6.6, 3.8);
    shape.cubicTo(8, 5.2, 7.4, 8, 3.2, 7.4);
    shape.cubicTo(-2.5, 6.6, -7, 2, -7, -3);
    shape.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(shape);
}

} // namespace Icons
