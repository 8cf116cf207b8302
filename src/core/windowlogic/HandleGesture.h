#pragma once

#include <QPoint>

#include <optional>

// Tells a click on the call log's handle from a drag of it: a press that
// travels a few pixels (Manhattan distance) before its release is a drag,
// anything less is a click.
class HandleGesture {
public:
    static constexpr int kDragDistance = 4;

    // Positions are global (screen) pixels, so the handle may move under the
    // pointer while it is dragged.
    void press(QPoint global);
    // While the press is a drag: the vertical distance from the press point.
    [[nodiscard]] std::optional<int> move(QPoint global);
    // Ends the press; true when it was a click.
    [[nodiscard]] bool release();

    [[nodiscard]] bool pressed() const { return m_pressed; }
    [[nodiscard]] bool dragging() const { return m_dragging; }

private:
    QPoint m_start;
    bool m_pressed = false;
    bool m_dragging = false;
};
