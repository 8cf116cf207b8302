#include "gui/controls/SkinLook.h"

#include "core/skins/SkinLayout.h"

#include <QWidget>

namespace SkinLook {

TextButtonAppearance textButton()
{
    const QColor accent = QColor::fromRgb(SkinLayout::kAccent);
    const QColor pressed(16, 118, 132);
    TextButtonAppearance look;
    look.Color = QColor(226, 232, 240);
    look.ColorHot = accent;
    look.ColorDown = pressed;
    look.ColorDisabled = QColor(236, 239, 243);
    look.FontColor = QColor::fromRgb(SkinLayout::kDarkText);
    look.FontHotColor = Qt::white;
    look.FontDownColor = Qt::white;
    look.FontDisabledColor = QColor(160, 168, 178);
    look.FrameUpColor = QColor(160, 172, 186);
    look.FrameHotColor = accent;
    look.FrameDownColor = pressed;
    look.FrameDisabledColor = QColor(204, 210, 218);
    look.FrameFocusColor = accent;
    return look;
}

TextButtonAppearance darkTextButton()
{
    TextButtonAppearance look = textButton();
    look.Color = QColor(52, 64, 80);
    look.FontColor = QColor::fromRgb(SkinLayout::kLightText);
    look.FrameUpColor = QColor(74, 90, 110);
    look.ColorDisabled = QColor(40, 49, 61);
    look.FontDisabledColor = QColor::fromRgb(SkinLayout::kMutedText);
    look.FrameDisabledColor = QColor(58, 70, 86);
    look.Radius = 13; // the pills of the call log's picture buttons
    return look;
}

QFont font(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont fieldFont(bool bold) { return font(13, bold); }

void styleField(QWidget *field)
{
    // The well is painted in the picture: the field shows it through.
    QPalette palette = field->palette();
    const QColor text = QColor::fromRgb(SkinLayout::kDarkText);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Base, Qt::white);
    field->setPalette(palette);
    field->setFont(fieldFont());
}

} // namespace SkinLook
