#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class QScreen;
class QWidget;

// On a screen smaller than a fixed-size window (a small one at a large scale)
// the window's whole face scrolls in a window the screen holds, so that every
// field and button can still be reached. Larger screens are left alone. A
// background the window paints itself goes with the face.
void scrollFaceOnSmallScreen(QWidget *window, const QSize &face, const QScreen *screen, const QString &name,
    const QImage &background = QImage());
