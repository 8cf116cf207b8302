#pragma once

#include <QAbstractButton>

// A small on/off toggle in the look's switch colours, the knob on the right
// when on and on the left when off. A click or Space toggles it; Return is
// left to the window (its default button). It takes part in the tab order and
// shows a frame while it has the focus.
class OnOffSwitch final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(OnOffSwitch)

public:
    explicit OnOffSwitch(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
