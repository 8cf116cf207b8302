#pragma once

#include <QWidget>

// The handle under the call log: a click shows or hides the log.
class TBlind final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TBlind)

public:
    static constexpr int kHeight = 12;

    explicit TBlind(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
