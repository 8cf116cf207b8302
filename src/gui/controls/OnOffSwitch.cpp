#include "gui/controls/OnOffSwitch.h"

#include "core/skins/Look.h"

#include <QPainter>

OnOffSwitch::OnOffSwitch(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize OnOffSwitch::sizeHint() const { return { 38, 18 }; }

void OnOffSwitch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(Look::kDisabledOpacity);
    const QRectF track = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qreal radius = track.height() / 2;
    const QColor fill = QColor::fromRgb(isChecked() ? Look::kSwitchOn : Look::kSwitchOff);
    painter.setPen(
        hasFocus() ? QPen(QColor::fromRgb(Look::kAccentDown), Look::kFocusRingWidth) : QPen(fill.darker(125), 1));
    painter.setBrush(isDown() ? fill.darker(120) : fill);
    painter.drawRoundedRect(track, radius, radius);

    const qreal knob = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setPen(QPen(fill.darker(140), 1));
    painter.setBrush(QColor::fromRgb(Look::kSwitchKnob));
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}
