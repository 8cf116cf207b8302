#pragma once

#include "gui/messages/MessageDialogBase.h"

#include <QImage>

class QLabel;
class TCutTransImage;

// The skinned message dialog: the kind's skin picture as background and
// outline, the text in the middle, the buttons in a column at the right.
// Without the kind's picture it keeps a plain look and its rectangle.
class TMessDlg final : public MessageDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMessDlg)

public:
    // Size of the dialog without a picture.
    static constexpr int kPlainWidth = 450;
    static constexpr int kPlainHeight = 200;

    TMessDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent = nullptr);

    TCutTransImage *background;
    QLabel *textLabel;
    QImage Image_Dlg; // receives the kind's picture first

protected:
    void paintEvent(QPaintEvent *event) override;
};
