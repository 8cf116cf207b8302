#pragma once

#include <QTimer>
#include <QWidget>

// A row of lights with one bright light running to and fro while the
// scanner runs, to show that a call is being costed; all dark otherwise.
class LightScanner final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(LightScanner)

public:
    static constexpr int kStepMilliseconds = 70;

    LightScanner(int lights, QWidget *parent);

    void setRunning(bool running);
    [[nodiscard]] bool isRunning() const { return m_timer.isActive(); }
    // The bright light, 0 at the left.
    [[nodiscard]] int lit() const { return m_lit; }
    void step();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_lights;
    int m_lit = 0;
    int m_direction = 1;
    QTimer m_timer;
};
