#pragma once

#include <QColor>
#include <QPoint>
#include <QWidget>

// A text label that can be turned: the caption starts at Origin and runs at
// Angle degrees anticlockwise from the horizontal (90 reads upwards).
class TGText final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGText)

public:
    explicit TGText(QWidget *parent);

    [[nodiscard]] const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // The background, unless Transparent.
    [[nodiscard]] QColor color() const { return m_color; }
    void setColor(QColor colour);
    [[nodiscard]] QColor fontColor() const { return m_fontColor; }
    void setFontColor(QColor colour);
    [[nodiscard]] bool transparent() const { return m_transparent; }
    void setTransparent(bool transparent);
    [[nodiscard]] int angle() const { return m_angle; }
    void setAngle(int degrees);
    // Where the caption's top left corner lies before it is turned.
    [[nodiscard]] QPoint origin() const { return m_origin; }
    void setOrigin(QPoint origin);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
    QColor m_color { 192, 192, 192 };
    QColor m_fontColor { 0, 0, 0 };
    bool m_transparent = false;
    int m_angle = 0;
    QPoint m_origin;
};
