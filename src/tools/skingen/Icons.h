#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

// The skin's line icons, drawn centred in a box about 16 pixels square.
namespace Icons {
void gear(QPainter &painter, const QRectF &box, const QColor &colour);
void plus(QPainter &painter, const QRectF &box, const QColor &colour);
void priceTag(QPainter &painter, const QRectF &box, const QColor &colour);
void person(QPainter &painter, const QRectF &box, const QColor &colour);
void info(QPainter &painter, const QRectF &box, const QColor &colour);
void question(QPainter &painter, const QRectF &box, const QColor &colour);
void minimise(QPainter &painter, const QRectF &box, const QColor &colour);
void cross(QPainter &painter, const QRectF &box, const QColor &colour);
void pencil(QPainter &painter, const QRectF &box, const QColor &colour);
void chevronDown(QPainter &painter, const QRectF &box, const QColor &colour);
void envelope(QPainter &painter, const QRectF &box, const QColor &colour);
void globe(QPainter &painter, const QRectF &box, const QColor &colour);
void trash(QPainter &painter, const QRectF &box, const QColor &colour);
void sweep(QPainter &painter, const QRectF &box, const QColor &colour);
void exclamation(QPainter &painter, const QRectF &box, const QColor &colour);
// A telephone handset; `hungUp` turns it down, the sign for ending a call.
void handset(QPainter &painter, const QRectF &box, const QColor &colour, bool hungUp);
} // namespace Icons
