#pragma once

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QSize>

class QLabel;
class QVBoxLayout;
class TGFocusButton;

// A dialog of the program's own, built in code in the one look: a dark title
// strip with the title drawn on it, a light body, and OK and Cancel at the
// bottom right. It has no frame from the window system, so it looks and
// moves the same with or without a window manager: dragging its title strip
// or its background moves it. It opens centred on its owner, whole on the
// screen the owner is on. Return presses OK wherever the focus is, except on
// a button; Escape cancels.
class FramedDialog : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FramedDialog)

public:
    static constexpr int kTitleHeight = 34;
    static constexpr int kMargin = 14;

    // Where a dialog of `size` opens: centred on `owner` (an empty owner
    // means the middle of the screen), moved as little as needed to lie
    // whole within `available`.
    [[nodiscard]] static QPoint placeFor(const QSize &size, const QRect &owner, const QRect &available);

protected:
    FramedDialog(const QString &title, QWidget *owner);

    // The body under the title strip, above the buttons, for the dialog's fields.
    [[nodiscard]] QVBoxLayout *bodyLayout() const { return m_body; }
    [[nodiscard]] TGFocusButton *okButton() const { return m_ok; }
    [[nodiscard]] TGFocusButton *cancelButton() const { return m_cancel; }

    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placeBesideOwner();

    QLabel *m_title;
    QVBoxLayout *m_body;
    TGFocusButton *m_ok;
    TGFocusButton *m_cancel;
    bool m_placed = false;
};
