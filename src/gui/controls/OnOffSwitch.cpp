#include "gui/controls/OnOffSwitch.h"

#include <QKeyEvent>
#include <QPainter>

namespace {

const QColor kOnColour(0, 168, 0);
const QColor kOffColour(208, 0, 0);
const QColor kDisabledColour(128, 128, 128);
const QColor kFocusColour(255, 255, 0);

} // namespace

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
    const QRectF track = QRectF(rect()).adjusted(2, 2, -2, -2);
    const qreal radius = track.height() / 2;
    const QColor fill = !isEnabled() ? kDisabledColour : isChecked() ? kOnColour : kOffColour;
    painter.setPen(hasFocus() ? QPen(kFocusColour, 2) : QPen(fill.darker(150), 1));
    painter.setBrush(isDown() ? fill.darker(120) : fill);
    painter.drawRoundedRect(track, radius, radius);

    const qreal knob = track.height() - 4;
    const qreal x = isChecked() ? track.right() - 2 - knob : track.left() + 2;
    painter.setPen(QPen(QColor(64, 64, 64), 1));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawEllipse(QRectF(x, track.top() + 2, knob, knob));
}

void OnOffSwitch::keyPressEvent(QKeyEvent *event)
{
    // Space is the button's own key; Enter toggles too, rather than reaching
    // the dialog, so the switches behave alike from the keyboard.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QAbstractButton::keyPressEvent(event);
}
