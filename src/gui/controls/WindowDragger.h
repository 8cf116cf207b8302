#pragma once

#include <QList>
#include <QObject>
#include <QPoint>

#include <optional>

class QWidget;

// Lets the user move a borderless window by pressing on one of its widgets
// (its background) as on a title bar. The window system's own move is used
// where it offers one; elsewhere (no window manager, the offscreen platform)
// the window follows the pointer until the button is released.
class WindowDragger final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(WindowDragger)

public:
    // Presses of the left button on `handle` move `handle`'s window.
    explicit WindowDragger(QWidget *handle);
    // Presses on `widget` too, including those its children leave unanswered
    // (plain labels on the background).
    void watch(QWidget *widget);

    void setEnabled(bool enabled) { m_enabled = enabled; }
    [[nodiscard]] bool isEnabled() const { return m_enabled; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_handle;
    QList<QWidget *> m_watched;
    bool m_enabled = true;
    std::optional<QPoint> m_grabOffset; // pointer minus window position, while following by hand
};
