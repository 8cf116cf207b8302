#include "core/skins/Look.h"

namespace Look {

QFont font(int pixels, bool bold)
{
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont buttonFont(ButtonSize size)
{
    return size == ButtonSize::Large ? font(kTextPixels) : font(kSmallTextPixels, true);
}

} // namespace Look
