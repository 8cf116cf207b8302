#include "gui/tariffs/TariffGridPainter.h"

namespace {

const QColor kSelectedFill(128, 128, 192);
constexpr int kFirstRightAlignedColumn = 5; // the amounts and the unit

// Black or white, whichever reads on the tariff's own colour.
QColor textOn(const QColor &fill)
{
    const int luminance = (299 * fill.red() + 587 * fill.green() + 114 * fill.blue()) / 1000;
    return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace

TariffGridPainter::TariffGridPainter(QImage skin)
    : m_grid(std::move(skin))
{
}

void TariffGridPainter::paintCell(
    QPainter &painter, const QRect &cell, int column, const QString &text, bool selected, const QColor &fill) const
{
    const bool highlighted = selected && column > 0;
    m_grid.paintCell(painter, cell, text, highlighted ? kSelectedFill : fill, !highlighted && column > 0,
        highlighted ? QColor(Qt::white) : (column == 0 ? textOn(fill) : QColor(Qt::black)),
        column >= kFirstRightAlignedColumn);
}
