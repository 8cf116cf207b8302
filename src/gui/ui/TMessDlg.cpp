#include "ui/TMessDlg.h"

#include "skins/SkinLibrary.h"
#include "ui/MessageTable.h"
#include "ui/TCutTransImage.h"
#include "ui/TGFocusButton.h"
#include "ui/WindowOutline.h"

#include <QLabel>
#include <QPainter>

namespace {

TextButtonAppearance buttonAppearance()
{
    TextButtonAppearance look;
    look.Color = QColor(192, 192, 192);
    look.ColorHot = QColor(255, 128, 0);
    look.ColorDown = QColor(0, 128, 0);
    look.FontHotColor = QColor(0, 0, 0);
    look.FrameUpColor = QColor(192, 192, 192);
    look.FrameHotColor = QColor(255, 128, 0);
    look.FrameDownColor = QColor(0, 128, 0);
    return look;
}

} // namespace

TMessDlg::TMessDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent)
    : MessageDialogBase(buttons, parent)
    , CutTransImage1(new TCutTransImage(this))
    , Label1(new QLabel(this))
{
    setObjectName(QStringLiteral("TMessDlg"));
    CutTransImage1->setTransColor(QColor::fromRgb(kSkinKeyColour));

    const QList<int> shown = messageButtonsIn(buttons);
    const int lastBottom = shown.isEmpty() ? 0 : skinDialogButtonRect(int(shown.size()) - 1).bottom();
    setFixedSize(kPlainWidth, std::max(kPlainHeight, lastBottom + 12));

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(28, 60, 333, 125);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(16);
    Label1->setFont(font);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setWordWrap(true);
    // Texts come from the program and from the dial-up service: never markup.
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(messageDisplayText(text));
    // Presses on the text reach the background, which drags the dialog.
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QString imageName = messageKindImage(kind);
    if (!imageName.isEmpty() && SkinLibrary::LoadSkinImage(Image_Dlg, imageName) && !Image_Dlg.isNull()) {
        CutTransImage1->setPicture(Image_Dlg);
        CutTransImage1->RebuildOutline();
    }

    const TextButtonAppearance look = buttonAppearance();
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPixelSize(11);
    for (qsizetype position = 0; position < shown.size(); ++position) {
        TGFocusButton *button = addButton(shown[position], skinDialogButtonRect(int(position)), look);
        button->setShowsFocusFrame(false);
        button->setFont(buttonFont);
    }
    centreOnScreen();
}

void TMessDlg::paintEvent(QPaintEvent *)
{
    if (!CutTransImage1->picture().isNull())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(236, 233, 216));
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
