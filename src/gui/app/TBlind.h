#pragma once

#include "core/windowlogic/HandleGesture.h"

#include <QWidget>

class TCutTransImage;

// The handle under the call log, drawn from the skin image "Handle". A click
// shows or hides the log; pressing and dragging it pulls the log's bottom
// edge (a press that moves a few pixels is a drag, not a click). The window
// that owns the log does the showing and the resizing.
class TBlind final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TBlind)

public:
    // Size without the skin image.
    static constexpr int kWidth = 492;
    static constexpr int kHeight = 12;

    explicit TBlind(QWidget *parent = nullptr);

    TCutTransImage *background;

signals:
    void clicked();
    // A drag began; then `dy` is the pointer's vertical travel since the press.
    void dragStarted();
    void dragMoved(int dy);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    HandleGesture m_gesture;
};
