#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;
class QRect;

// Draws the tariff grid's cells from pieces of the call log's skin image;
// without the image only the fill colours are drawn.
class TariffGridPainter {
public:
    explicit TariffGridPainter(QImage skin = {});

    const QFont &font() const { return m_font; }

    void paintHeader(QPainter &painter, const QRect &cell, const QString &text) const;
    // `fill` is the row's tariff colour; cells of the selected row other than
    // the name are drawn highlighted instead.
    void paintCell(QPainter &painter, const QRect &cell, int column, const QString &text, bool selected,
                   const QColor &fill) const;

private:
    QImage m_skin;
    QFont m_font;
};
