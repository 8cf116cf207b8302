#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;

// The picture shown while the program starts; it stays up at least 2001 ms.
class Tsplash final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Tsplash)

public:
    static constexpr int kMinimumMilliseconds = 2001;
    static constexpr QSize kSize { 456, 366 };

    explicit Tsplash(QWidget *parent = nullptr);

    // Shows and paints at once, noting the time.
    void showNow();
    // Keeps events flowing until the minimum time has passed, then closes.
    void closeWhenDue();
    // The program is ending: closeWhenDue waits no longer.
    void stopWaiting() { m_shown.invalidate(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_label;
    QElapsedTimer m_shown;
};
