#include "calllog/TCallLog.h"

#include <QPainter>

TCallLog::TCallLog(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TCallLog"));
    setFixedWidth(kWidth);
    setMinimumHeight(1);
}

void TCallLog::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}

void TCallLog::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(235, 235, 245));
}
