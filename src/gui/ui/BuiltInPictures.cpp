#include "ui/BuiltInPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace {

QFont arial(int points, bool bold = false)
{
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

void paintSky(QPainter &painter, QSize size, QColor top, QColor bottom)
{
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, top);
    sky.setColorAt(1, bottom);
    painter.fillRect(QRect(QPoint(0, 0), size), sky);
}

// A telephone line sagging between two poles, the program's emblem.
void paintLine(QPainter &painter, QRectF area, QColor colour)
{
    painter.setPen(QPen(colour, 3));
    const QPointF left(area.left(), area.top());
    const QPointF right(area.right(), area.top());
    painter.drawLine(left, QPointF(area.left(), area.bottom()));
    painter.drawLine(right, QPointF(area.right(), area.bottom()));
    QPainterPath wire(left);
    wire.quadTo(QPointF(area.center().x(), area.top() + area.height() * 0.6), right);
    painter.setPen(QPen(colour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wire);
}

// A meter dial with its needle most of the way round.
void paintDial(QPainter &painter, QPointF centre, qreal radius)
{
    painter.setPen(QPen(QColor(255, 200, 60), 3));
    painter.setBrush(QColor(20, 30, 60));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(QColor(200, 210, 230), 2));
    for (int tick = 0; tick < 12; ++tick) {
        const qreal angle = tick * std::numbers::pi / 6;
        const QPointF direction(std::sin(angle), -std::cos(angle));
        painter.drawLine(centre + direction * radius * 0.8, centre + direction * radius * 0.95);
    }
    const qreal needle = std::numbers::pi * 1.4;
    painter.setPen(QPen(QColor(255, 90, 60), 3));
    painter.drawLine(centre, centre + QPointF(std::sin(needle), -std::cos(needle)) * radius * 0.75);
}

} // namespace

void paintSplashPicture(QPainter &painter, QSize size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    paintSky(painter, size, QColor(20, 40, 90), QColor(5, 10, 30));
    paintLine(painter, QRectF(30, 60, size.width() - 60, 200), QColor(90, 110, 150));
    paintDial(painter, QPointF(size.width() / 2.0, 110), 42);
    painter.setPen(QColor(255, 200, 60));
    painter.setFont(arial(40, true));
    painter.drawText(QRect(0, 165, size.width(), 70), Qt::AlignCenter, QStringLiteral("Tollwise"));
    painter.setPen(QColor(200, 210, 230));
    painter.setFont(arial(12));
    painter.drawText(QRect(0, 235, size.width(), 30), Qt::AlignCenter,
                     QStringLiteral("dial-up call costs, to the second"));
}

void paintAboutPicture(QPainter &painter, QSize size)
{
    painter.setRenderHint(QPainter::Antialiasing);
    paintSky(painter, size, QColor(40, 30, 70), QColor(10, 8, 25));
    paintLine(painter, QRectF(20, 50, size.width() - 40, size.height() - 80), QColor(100, 90, 140));
    paintDial(painter, QPointF(size.width() / 2.0, 90), 34);
    painter.setPen(QColor(255, 200, 60));
    painter.setFont(arial(28, true));
    painter.drawText(QRect(0, 130, size.width(), 50), Qt::AlignCenter, QStringLiteral("Tollwise"));
    painter.setPen(QColor(200, 210, 230));
    painter.setFont(arial(10));
    painter.drawText(QRect(0, 180, size.width(), 24), Qt::AlignCenter,
                     QStringLiteral("watches your dial-up line and costs every call"));
    painter.drawText(QRect(0, size.height() - 30, size.width(), 20), Qt::AlignCenter,
                     QStringLiteral("click to close"));
}

QPixmap renderPicture(QSize size, qreal ratio, const std::function<void(QPainter &, QSize)> &paint)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    paint(painter, size);
    return pixmap;
}
