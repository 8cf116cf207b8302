#pragma once

#include "gui/controls/TGTextButton.h"

// A text button that takes the keyboard focus: it is in the tab order,
// draws a focus frame (FrameFocusColor) while focused, and Space, Enter and
// Return press it (down while the key is held, a click on its release).
class TGFocusButton final : public TGTextButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGFocusButton)

public:
    explicit TGFocusButton(QWidget *parent);

    // Some dialogs show the focus by nothing but the keyboard's effect.
    [[nodiscard]] bool showsFocusFrame() const { return m_showsFocusFrame; }
    void setShowsFocusFrame(bool shows);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintOver(QPainter &painter) override;

private:
    bool m_enterHeld = false;
    bool m_showsFocusFrame = true;
};
