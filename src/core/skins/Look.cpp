#include "core/skins/Look.h"

#include <algorithm>
#include <cmath>

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

namespace {

qreal luminance(QRgb colour)
{
    const auto linear = [](int channel) {
        const qreal c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) + 0.0722 * linear(qBlue(colour));
}

qreal contrast(QRgb a, QRgb b)
{
    const qreal la = luminance(a);
    const qreal lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

QRgb textOn(QRgb back) { return contrast(kValueText, back) >= contrast(kLightText, back) ? kValueText : kLightText; }

} // namespace Look
