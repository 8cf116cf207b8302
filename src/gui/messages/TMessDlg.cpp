#include "gui/messages/TMessDlg.h"

#include "core/skins/SkinLibrary.h"
#include "core/windowlogic/MessageTable.h"
#include "core/windowlogic/WindowOutline.h"
#include "gui/controls/ElidedText.h"
#include "gui/controls/SkinLook.h"
#include "gui/controls/TCutTransImage.h"
#include "gui/controls/TGFocusButton.h"

#include <QLabel>
#include <QPainter>

#include <algorithm>

namespace {

// A long text first narrows its font, down to kSmallestPixels; what is then
// still too tall is returned, for the dialog to grow by.
int fitText(QLabel *label)
{
    constexpr int kSmallestPixels = 12;
    const int flags = int(label->alignment()) | Qt::TextWordWrap;
    QFont font = label->font();
    const auto needed = [&] {
        return QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), label->size()), flags, label->text()).height();
    };
    while (font.pixelSize() > kSmallestPixels && needed() > label->height())
        font.setPixelSize(font.pixelSize() - 1);
    label->setFont(font);
    return std::max(0, needed() - label->height());
}

// The picture made taller by repeating the row at `y`, through the text panel
// and the button column, so the frame and the outline stay whole.
QImage tallerPicture(const QImage &picture, int y, int extra)
{
    QImage taller(picture.width(), picture.height() + extra, picture.format());
    QPainter painter(&taller);
    painter.drawImage(QPoint(0, 0), picture, QRect(0, 0, picture.width(), y));
    painter.drawImage(QRect(0, y, picture.width(), extra), picture, QRect(0, y, picture.width(), 1));
    painter.drawImage(QPoint(0, y + extra), picture, QRect(0, y, picture.width(), picture.height() - y));
    return taller;
}

} // namespace

TMessDlg::TMessDlg(std::uint8_t kind, const QString &text, std::uint16_t buttons, QWidget *parent)
    : MessageDialogBase(buttons, parent)
    , background(new TCutTransImage(this))
    , textLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("TMessDlg"));
    background->setTransColor(QColor::fromRgb(kSkinKeyColour));

    const QList<int> shown = messageButtonsIn(buttons);
    const int lastBottom = shown.isEmpty() ? 0 : skinDialogButtonRect(int(shown.size()) - 1).bottom();
    textLabel->setObjectName(QStringLiteral("Label1"));
    textLabel->setGeometry(28, 60, 333, 125);
    const QFont font = SkinLook::font(16);
    textLabel->setFont(font);
    textLabel->setAlignment(Qt::AlignCenter);
    textLabel->setWordWrap(true);
    // Texts come from the program and from the dial-up service: never markup.
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setText(breakableText(messageDisplayText(text), font, textLabel->width()));
    const int extra = fitText(textLabel);
    const int middle = textLabel->geometry().center().y();
    textLabel->resize(textLabel->width(), textLabel->height() + extra);
    setFixedSize(kPlainWidth, std::max(kPlainHeight + extra, lastBottom + 12));
    // Presses on the text reach the background, which drags the dialog.
    textLabel->setAttribute(Qt::WA_TransparentForMouseEvents);

    const QString imageName = messageKindImage(kind);
    if (!imageName.isEmpty() && SkinLibrary::LoadSkinImage(Image_Dlg, imageName) && !Image_Dlg.isNull()) {
        if (extra > 0)
            Image_Dlg = tallerPicture(Image_Dlg, middle, extra);
        background->setPicture(Image_Dlg);
        background->RebuildOutline();
    }

    // The skin's button column holds the small buttons.
    for (qsizetype position = 0; position < shown.size(); ++position) {
        TGFocusButton *button = addButton(shown[position], skinDialogButtonRect(int(position)), SkinLook::textButton());
        button->setShowsFocusFrame(false);
        button->setFont(Look::buttonFont(Look::ButtonSize::Small));
    }
    centreOnScreen();
}

void TMessDlg::paintEvent(QPaintEvent *)
{
    if (!background->picture().isNull())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(236, 233, 216));
    painter.setPen(QColor(96, 96, 96));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}
