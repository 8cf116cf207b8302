#pragma once

#include "gui/controls/SkinGridPainter.h"

#include <QColor>
#include <QImage>

class QPainter;
class QRect;

// Draws the tariff grid's cells from pieces of the call log's skin image;
// without the image only the fill colours are drawn.
class TariffGridPainter {
public:
    explicit TariffGridPainter(QImage skin = {});

    const SkinGridPainter &grid() const { return m_grid; }
    const QFont &font() const { return m_grid.font(); }

    // `fill` is the row's tariff colour; cells of the selected row other than
    // the name are drawn highlighted instead.
    void paintCell(
        QPainter &painter, const QRect &cell, int column, const QString &text, bool selected, const QColor &fill) const;

private:
    SkinGridPainter m_grid;
};
