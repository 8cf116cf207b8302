#pragma once

#include "core/windowlogic/TravellingLine.h"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

// The about box: the program's own picture, with a line of messages
// travelling along its top. A click anywhere closes it.
class TAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAbout)

public:
    static constexpr QSize kSize { 420, 260 };
    static constexpr int kStepMilliseconds = 25;
    static constexpr int kStripHeight = 26;

    explicit TAbout(QWidget *parent = nullptr);

    // The messages, in the order they travel.
    [[nodiscard]] static QStringList messages();
    [[nodiscard]] const TravellingLine &line() const { return m_line; }
    [[nodiscard]] const QTimer &timer() const { return m_timer; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void onScrollTick();

    TravellingLine m_line;
    QTimer m_timer;
    QPixmap m_picture;
    QFont m_lineFont;
};
