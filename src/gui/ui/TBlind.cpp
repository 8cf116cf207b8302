#include "ui/TBlind.h"

#include <QMouseEvent>
#include <QPainter>

TBlind::TBlind(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TBlind"));
    setFixedSize(492, kHeight);
}

void TBlind::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TBlind::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(60, 70, 90));
    painter.setPen(QColor(180, 190, 210));
    painter.drawLine(width() / 2 - 20, height() / 2, width() / 2 + 20, height() / 2);
}
