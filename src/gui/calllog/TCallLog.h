#pragma once

#include <QWidget>

// The call log window, docked under the main window; fixed width.
class TCallLog final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCallLog)

public:
    static constexpr int kWidth = 492;

    explicit TCallLog(QWidget *parent = nullptr);

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
