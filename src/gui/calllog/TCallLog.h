#pragma once

#include <QImage>
#include <QWidget>

// The call log window, docked under the main window; fixed width.
class TCallLog final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCallLog)

public:
    static constexpr int kWidth = 492;
    // At this height or less the window is not shown.
    static constexpr int kHiddenHeight = 5;

    explicit TCallLog(QWidget *parent = nullptr);

    // Loads the skin image "CallLog" into Image1 when it exists.
    void loadSkin();

    QImage Image1; // the skin: source of every piece of the frame

signals:
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The frame at the window's height, from the pieces of Image1.
    [[nodiscard]] QImage composeFrame() const;
    void rebuildOutline();
};
