#pragma once

#include "gui/messages/MessageDialogBase.h"

#include <QColor>

#include <functional>

class QLabel;
class TGText;

// The message box built entirely in code (for messages that must not
// depend on the skin), looking like the skin's messages: a light body with
// a strip of the kind's colour, the kind's icon and the caption, the kind
// word turned upright in the kind's colour, the text in a white well by
// which the box is dragged, and the buttons along the bottom.
class TDynaMessageBoxDlg final : public MessageDialogBase {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TDynaMessageBoxDlg)

public:
    // `width` is the client width (grown where the buttons would not fit);
    // the box takes the height its text needs in place of `height`, so it is
    // neither clipped nor mostly empty; `help` runs when Help is pressed,
    // which keeps the box open.
    TDynaMessageBoxDlg(int width, int height, std::uint8_t kind, std::uint16_t buttons, const QString &text,
        const QString &caption, const QString &kindWord, std::function<void()> help, QWidget *parent = nullptr);

    QLabel *LabelCaption;
    QLabel *LabelText;
    QLabel *ImageIcon;
    TGText *TextKind;
    QWidget *PanelInner;

protected:
    void paintEvent(QPaintEvent *event) override;
    void helpPressed() override;

private:
    std::function<void()> m_help;
    QColor m_accent;
};
