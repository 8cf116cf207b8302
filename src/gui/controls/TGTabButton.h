#pragma once

#include "gui/controls/SkinButton.h"

#include <QColor>
#include <QImage>

// A button drawn from three skin pictures: up, down and hot (BitmapHigh).
// Pixels of TransparentColor let the window's background show through, and
// a missing picture draws nothing there.
//
// Latching: a button with a GroupIndex other than 0 stays down when clicked
// (Down is its checked state) and raises the other buttons of its group,
// its siblings with the same GroupIndex; clicking it again raises it only
// with AllowAllUp. Auto-repeat (autoRepeat) clicks while the button is held,
// first after InitialDelay, then every Delay milliseconds.
class TGTabButton final : public SkinButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGTabButton)
    Q_PROPERTY(bool Down READ isChecked WRITE setChecked)
    Q_PROPERTY(int GroupIndex READ groupIndex WRITE setGroupIndex)
    Q_PROPERTY(bool AllowAllUp READ allowAllUp WRITE setAllowAllUp)
    Q_PROPERTY(int Delay READ autoRepeatInterval WRITE setAutoRepeatInterval)
    Q_PROPERTY(int InitialDelay READ autoRepeatDelay WRITE setAutoRepeatDelay)
    Q_PROPERTY(QColor TransparentColor READ transparentColor WRITE setTransparentColor)

public:
    static constexpr int kDefaultDelay = 100;
    static constexpr int kDefaultInitialDelay = 400;

    explicit TGTabButton(QWidget *parent);

    [[nodiscard]] const QImage &bitmapUp() const { return m_up; }
    [[nodiscard]] const QImage &bitmapDown() const { return m_down; }
    [[nodiscard]] const QImage &bitmapHigh() const { return m_high; }
    void setBitmapUp(const QImage &picture);
    void setBitmapDown(const QImage &picture);
    void setBitmapHigh(const QImage &picture);

    // Loads the skin images `base`_up, `base`_down and `base`_hot; each one
    // that is missing leaves its picture as it was. True when all were found.
    bool loadImages(const QString &base);

    // White until set; most skins use kSkinKeyColour.
    [[nodiscard]] QColor transparentColor() const { return m_transparentColor; }
    void setTransparentColor(QColor colour);

    [[nodiscard]] int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);
    [[nodiscard]] bool allowAllUp() const { return m_allowAllUp; }
    void setAllowAllUp(bool allow) { m_allowAllUp = allow; }

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override;

private:
    void raiseGroup();
    void rebuildKeyed();

    QImage m_up;
    QImage m_down;
    QImage m_high;
    QImage m_keyedUp;
    QImage m_keyedDown;
    QImage m_keyedHigh;
    QColor m_transparentColor = Qt::white;
    int m_groupIndex = 0;
    bool m_allowAllUp = false;
};
