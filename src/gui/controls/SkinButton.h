#pragma once

#include "core/windowlogic/ButtonLook.h"

#include <QAbstractButton>

// What the skinned buttons share: press, release, click and auto-repeat come
// from QAbstractButton (down while pressed with the pointer over it, up when
// the pointer moves off, a click on release over it); this adds the hot look
// while the pointer is over the button.
class SkinButton : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SkinButton)

public:
    // The look the button shows now.
    [[nodiscard]] ButtonFace face() const;

protected:
    explicit SkinButton(QWidget *parent);

    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    ButtonLook m_look;
};
