#include "core/skins/AppIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

QImage drawAppIcon(int size, AppIconState state)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);

    const bool connected = state == AppIconState::Connected;
    QLinearGradient back(0, 8, 0, 248);
    back.setColorAt(0, connected ? QColor(0x3c, 0xb0, 0x5e) : QColor(0x35, 0x78, 0xc0));
    back.setColorAt(1, connected ? QColor(0x17, 0x5c, 0x2c) : QColor(0x1a, 0x3c, 0x6a));
    painter.setPen(Qt::NoPen);
    painter.setBrush(back);
    painter.drawRoundedRect(QRectF(8, 8, 240, 240), 48, 48);

    // The dial and its two hands.
    QPen white(Qt::white, 20, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(white);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(112, 112), 72, 72);
    white.setWidth(16);
    painter.setPen(white);
    painter.drawLine(QPointF(112, 112), QPointF(112, 66));
    painter.drawLine(QPointF(112, 112), QPointF(146, 112));

    // The coin the minutes cost.
    painter.setPen(QPen(QColor(0x9a, 0x6e, 0x08), 10));
    painter.setBrush(QColor(0xf4, 0xc4, 0x30));
    painter.drawEllipse(QPointF(188, 188), 46, 46);
    painter.setPen(QPen(QColor(0x9a, 0x6e, 0x08), 8));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(188, 188), 26, 26);
    return image;
}
