#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class WindowDragger;

// The shaped background of a skinned window: it draws the window's picture,
// cuts the window's outline from it and lets the user drag the window by it.
// Made the first child of its window, it stays beneath the other controls.
class TCutTransImage final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCutTransImage)
    Q_PROPERTY(QColor TransColor READ transColor WRITE setTransColor)
    Q_PROPERTY(bool AdjustFormSize READ adjustFormSize WRITE setAdjustFormSize)

public:
    explicit TCutTransImage(QWidget *parent);

    [[nodiscard]] const QImage &picture() const { return m_picture; }
    void setPicture(const QImage &picture);

    // Pixels of this colour are cut out of the window (white until set;
    // skins use kSkinKeyColour).
    [[nodiscard]] QColor transColor() const { return m_transColor; }
    void setTransColor(QColor colour) { m_transColor = colour; }

    // When set (the default) the control covers the whole window and the
    // window takes the picture's size; otherwise the picture is drawn at its
    // own size where the control stands.
    [[nodiscard]] bool adjustFormSize() const { return m_adjustFormSize; }
    void setAdjustFormSize(bool adjust) { m_adjustFormSize = adjust; }

    // Pressing on the picture moves the window (the default); when off,
    // presses go on to the window itself.
    [[nodiscard]] bool dragsWindow() const;
    void setDragsWindow(bool drags);

    // Makes the window borderless, sizes it to the picture (AdjustFormSize)
    // and sets its outline to the picture's pixels that are not TransColor.
    // Without a picture, or with one that is all TransColor, the window keeps
    // its rectangle: a window nobody could see or reach helps no one.
    void RebuildOutline();

    // Loads the skin image `name` into the picture when it exists, then
    // rebuilds the outline either way. True when the image was found.
    bool loadSkin(const QString &name);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void coverWindow();

    QImage m_picture;
    // The picture in the pixel format windows are painted in, converted once:
    // drawn as it was loaded (8-bit, 16-bit), every repaint converted it anew.
    QImage m_painted;
    QColor m_transColor = Qt::white;
    bool m_adjustFormSize = true;
    WindowDragger *m_dragger;
};
