#include "gui/tariffs/TariffColourStrip.h"

#include "core/tariffs/TariffEditorRules.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kCells = int(kTariffColours.size());

} // namespace

QColor qColourOfTariff(std::uint32_t colour)
{
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

TariffColourStrip::TariffColourStrip(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setColourIndex(kNewTariffColourIndex);
}

void TariffColourStrip::setColour(std::uint32_t colour)
{
    m_colour = colour;
    update();
}

void TariffColourStrip::setColourIndex(int index)
{
    if (index >= 0 && index < kCells)
        setColour(kTariffColours[std::size_t(index)]);
}

QRect TariffColourStrip::cellRect(int index) const
{
    const int left = index * width() / kCells;
    const int right = (index + 1) * width() / kCells;
    return QRect(left, 0, right - left, height());
}

void TariffColourStrip::choose(int index)
{
    if (index < 0 || index >= kCells)
        return;
    setColourIndex(index);
    emit colourChosen(m_colour);
}

void TariffColourStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const auto chosen = tariffColourIndex(m_colour);
    for (int i = 0; i < kCells; ++i) {
        const QRect cell = cellRect(i);
        painter.fillRect(cell, isEnabled() ? qColourOfTariff(kTariffColours[std::size_t(i)]) : QColor(Qt::lightGray));
        painter.setPen(QColor(Qt::gray));
        painter.drawRect(cell.adjusted(0, 0, -1, -1));
        if (chosen == i) {
            painter.setPen(QPen(hasFocus() ? Qt::blue : Qt::black, 2));
            painter.drawRect(cell.adjusted(1, 1, -1, -1));
        }
    }
}

void TariffColourStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    for (int i = 0; i < kCells; ++i) {
        if (cellRect(i).contains(event->position().toPoint())) {
            choose(i);
            return;
        }
    }
}

void TariffColourStrip::keyPressEvent(QKeyEvent *event)
{
    const int current = tariffColourIndex(m_colour).value_or(-1);
    switch (event->key()) {
    case Qt::Key_Left:
        choose(current <= 0 ? 0 : current - 1);
        break;
    case Qt::Key_Right:
        choose(current < 0 ? 0 : std::min(current + 1, kCells - 1));
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
