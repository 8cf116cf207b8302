#pragma once

// Which of its looks a skinned button shows. The press itself (held, and
// whether the pointer is still over the button) is tracked by the widget;
// this keeps the hover side, which has one twist: after a release the button
// looks up until the pointer next moves over it, so a button whose click
// opened a dialog does not stay lit.
enum class ButtonFace {
    Up,
    Hot,
    Down,
    Disabled,
};

class ButtonLook {
public:
    // The pointer entered or moved; `over` says whether it is over the button.
    void pointerMoved(bool over);
    void pointerLeft();
    // A mouse release on the button, wherever the pointer then is.
    void released();

    [[nodiscard]] bool hovered() const { return m_hovered; }

    // `held`: pressed and the pointer over the button; `latched`: kept down.
    [[nodiscard]] ButtonFace face(bool enabled, bool held, bool latched) const;

private:
    bool m_hovered = false;
    bool m_hotSuppressed = false;
};
