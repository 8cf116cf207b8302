#include "gui/app/TBlind.h"

#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/TCutTransImage.h"

#include <QMouseEvent>
#include <QPainter>

TBlind::TBlind(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , background(new TCutTransImage(this))
{
    setObjectName(QStringLiteral("TBlind"));
    setFixedSize(kWidth, kHeight);
    background->setTransColor(QColor::fromRgb(kSkinKeyColour));
    // The handle stays docked: presses are the handle's own.
    background->setDragsWindow(false);
    background->loadSkin(QStringLiteral("Handle"));
}

void TBlind::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_gesture.press(event->globalPosition().toPoint());
}

void TBlind::mouseMoveEvent(QMouseEvent *event)
{
    const bool wasDragging = m_gesture.dragging();
    const std::optional<int> dy = m_gesture.move(event->globalPosition().toPoint());
    if (!dy)
        return;
    if (!wasDragging)
        emit dragStarted();
    emit dragMoved(*dy);
}

void TBlind::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_gesture.release() && rect().contains(event->position().toPoint()))
        emit clicked();
}

void TBlind::paintEvent(QPaintEvent *)
{
    if (!background->picture().isNull())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(60, 70, 90));
    painter.setPen(QColor(180, 190, 210));
    painter.drawLine(width() / 2 - 20, height() / 2, width() / 2 + 20, height() / 2);
}
