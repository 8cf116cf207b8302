#pragma once

#include <QPixmap>
#include <QSize>

#include <functional>

class QPainter;

// The pictures the program carries in itself rather than in the skin,
// drawn in code so they stay sharp at any device pixel ratio.

// The start-up picture; `size` is 456 × 366 in the splash window.
void paintSplashPicture(QPainter &painter, QSize size);
// The about box's picture, below its strip of travelling messages.
void paintAboutPicture(QPainter &painter, QSize size);

// The main window's background when its skin image is missing or damaged:
// the skin's dark look with every painted caption ("Today", "Time", "Cost",
// "Calls", ...) and the light fields the dark texts stand on, so the figures
// and captions stay readable. Drawn at the window's designed size.
[[nodiscard]] QImage mainWindowFallbackPicture();

// `paint` drawn once into a pixmap of `size` logical pixels at `ratio`
// device pixels per logical pixel, for windows that repaint often.
[[nodiscard]] QPixmap renderPicture(QSize size, qreal ratio, const std::function<void(QPainter &, QSize)> &paint);
