#pragma once

#include "gui/controls/SkinButton.h"

#include <QColor>

// The colours and edges of a text button; the names are the controls' own.
struct TextButtonAppearance {
    QColor Color { 192, 192, 192 };
    QColor ColorHot { 128, 128, 128 };
    QColor ColorDown { 64, 64, 64 };
    QColor ColorDisabled { 192, 192, 192 };
    QColor FontColor { 0, 0, 0 };
    QColor FontHotColor { 255, 255, 0 };
    QColor FontDownColor { 192, 192, 192 };
    QColor FontDisabledColor { 128, 128, 128 };
    bool Framed = true;
    QColor FrameUpColor { 0, 0, 0 };
    QColor FrameHotColor { 255, 255, 0 };
    QColor FrameDownColor { 192, 192, 192 };
    QColor FrameDisabledColor { 128, 128, 128 };
    QColor FrameFocusColor { 192, 192, 192 }; // focus buttons only
    bool Ctrl3D = false;
    int Ctrl3DWidth = 1;
    bool Transparent = false; // no background: the window shows through
    int Radius = 0; // rounded corners in pixels, the window showing through them
    qreal DisabledOpacity = 1; // below 1 the disabled face is faded into what lies behind
};

// A button that draws its caption on a coloured face: up, hot while the
// pointer is over it, down while pressed, and disabled. An ampersand in the
// caption marks its accelerator letter (Alt and the letter click it).
class TGTextButton : public SkinButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGTextButton)
    Q_PROPERTY(int Tag READ tag WRITE setTag)

public:
    explicit TGTextButton(QWidget *parent);

    [[nodiscard]] const TextButtonAppearance &appearance() const { return m_appearance; }
    void setAppearance(const TextButtonAppearance &appearance);

    // A number the window keeps with the button (a message button's result,
    // a statistics button's display).
    [[nodiscard]] int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // Lets a subclass draw over the finished face.
    virtual void paintOver(QPainter &painter);

private:
    void paintSquareFace(QPainter &painter, const QColor &background, const QColor &frame, bool down);

    TextButtonAppearance m_appearance;
    int m_tag = 0;
};
