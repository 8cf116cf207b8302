#pragma once

#include <QBrush>
#include <QPen>
#include <QWidget>

// A plain rectangle filled with Brush and outlined with Pen; windows use it
// for coloured areas and as a click area.
class TGShape final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGShape)

public:
    explicit TGShape(QWidget *parent);

    [[nodiscard]] const QBrush &brush() const { return m_brush; }
    void setBrush(const QBrush &brush);
    [[nodiscard]] const QPen &pen() const { return m_pen; }
    void setPen(const QPen &pen);

signals:
    void mouseDown(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QBrush m_brush { Qt::white };
    QPen m_pen { Qt::black };
};
