#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

class QPainter;
class QRect;

// Draws the cells of the skinned grids from pieces of the call log's skin
// image: the header bar and the textured cell. Without the image only the
// fill colours are drawn.
class SkinGridPainter {
public:
    explicit SkinGridPainter(QImage skin = {});

    const QFont &font() const { return m_font; }

    void paintHeader(QPainter &painter, const QRect &cell, const QString &text) const;
    // Fills the cell, stretches the skin's cell texture over it when
    // `textured`, and writes the text from the top left or right-aligned.
    void paintCell(QPainter &painter, const QRect &cell, const QString &text, const QColor &fill, bool textured,
        const QColor &textColour, bool rightAligned) const;

private:
    QImage m_skin;
    QFont m_font;
};
