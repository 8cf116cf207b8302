#include "gui/tariffs/TariffColourStrip.h"

#include "core/tariffs/TariffEditorRules.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kCells = int(kTariffColours.size());

// Out of editing the colours are faded but still told apart, so the strip
// reads as the choice of colours it is, with the tariff's own marked.
QColor faded(const QColor &colour)
{
    const QColor paper(Qt::lightGray);
    return QColor(
        (colour.red() + paper.red()) / 2, (colour.green() + paper.green()) / 2, (colour.blue() + paper.blue()) / 2);
}

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

QColor TariffColourStrip::shownColour(std::uint32_t colour) const
{
    return isEnabled() ? qColourOfTariff(colour) : faded(qColourOfTariff(colour));
}

void TariffColourStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const auto chosen = tariffColourIndex(m_colour);
    for (int i = 0; i < kCells; ++i) {
        const QRect cell = cellRect(i);
        painter.fillRect(cell, shownColour(kTariffColours[std::size_t(i)]));
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
