#pragma once

#include <QWidget>

// A row of lights that fill from the left as the position rises from the
// minimum to the maximum: the low lights first, then the medium, then the high.
class LedGauge final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LedGauge)

public:
    LedGauge(int low, int medium, int high, QWidget *parent);

    void setRange(int minimum, int maximum);
    void setPosition(int position);
    // Lights lit now: none below the minimum or without a range, all at the maximum.
    [[nodiscard]] int litLights() const;
    [[nodiscard]] int lightCount() const { return m_low + m_medium + m_high; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_low;
    int m_medium;
    int m_high;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_position = 0;
};
