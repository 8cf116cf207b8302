#include "gui/controls/DateFieldStyle.h"

#include "core/skins/SkinLayout.h"
#include "gui/controls/SkinLook.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateEdit>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionComboBox>

namespace {

void paintDropDown(QPainter &painter, const QRectF &box, bool hot, bool pressed)
{
    const QColor accent = QColor::fromRgb(SkinLayout::kAccent);
    const QColor face = pressed ? QColor(16, 118, 132) : hot ? accent.lighter(115) : accent;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(face);
    painter.drawRoundedRect(box.adjusted(1, 1, -1, -1), 3, 3);
    const QPointF centre = box.center() + QPointF(0, pressed ? 1.5 : 1);
    QPainterPath chevron;
    chevron.moveTo(centre + QPointF(-4, -2));
    chevron.lineTo(centre + QPointF(0, 2));
    chevron.lineTo(centre + QPointF(4, -2));
    QPen pen(Qt::white, 1.8);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
    painter.restore();
}

// Paints the drop-down face over a plain button, in place of its own face.
class DropDownFace final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!button || event->type() != QEvent::Paint)
            return QObject::eventFilter(watched, event);
        QPainter painter(button);
        const bool enabled = button->isEnabled();
        paintDropDown(painter, QRectF(button->rect()), enabled && button->underMouse(), button->isDown());
        return true;
    }
};

} // namespace

DateFieldStyle::DateFieldStyle()
    : QProxyStyle(QApplication::style()->name())
{
}

void DateFieldStyle::apply(QDateEdit *field)
{
    auto *style = new DateFieldStyle;
    style->setParent(field);
    field->setStyle(style);
    if (field->calendarPopup())
        SkinLook::styleCalendar(field->calendarWidget());
}

void DateFieldStyle::applyToButton(QAbstractButton *button)
{
    button->setText(QString());
    button->setAttribute(Qt::WA_Hover);
    button->installEventFilter(new DropDownFace(button));
}

void DateFieldStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
    if (control != CC_ComboBox || !combo) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QStyleOptionComboBox field = *combo;
    field.subControls &= ~SC_ComboBoxArrow;
    QProxyStyle::drawComplexControl(control, &field, painter, widget);
    const QRect arrow = subControlRect(control, option, SC_ComboBoxArrow, widget);
    const bool hot = (option->state & State_MouseOver) && option->activeSubControls == SC_ComboBoxArrow;
    const bool pressed = (option->state & State_Sunken) && option->activeSubControls == SC_ComboBoxArrow;
    paintDropDown(*painter, QRectF(arrow), hot, pressed);
}
