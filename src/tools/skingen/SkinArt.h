#pragma once

#include "core/skins/Look.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QMap>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include <functional>

class QPainter;

// Drawing helpers and the colours of the default skin. Every picture is drawn
// at scale 1 with antialiasing onto a transparent canvas, then flattened: what
// lies outside a window's outline, or where a button leaves its background
// untouched, becomes the pure-blue key colour.
namespace SkinArt {

// The skin being drawn: image name to picture.
using SkinSet = QMap<QString, QImage>;

namespace Colour {
inline const QColor kOutline = QColor::fromRgb(Look::kOutline);
inline const QColor kBodyTop = QColor::fromRgb(Look::kDarkBody);
inline const QColor kBodyBottom { 30, 38, 49 };
inline const QColor kTitleTop { 60, 73, 90 };
inline const QColor kTitleBottom { 46, 57, 71 };
inline const QColor kWell { 11, 16, 22 };
inline const QColor kWellBorder { 70, 84, 102 };
inline const QColor kPanel { 22, 30, 40 };
inline const QColor kPanelBorder { 60, 73, 90 };
inline const QColor kLightText = QColor::fromRgb(Look::kLightText);
inline const QColor kMutedText = QColor::fromRgb(Look::kMutedText);
inline const QColor kHeading { 120, 214, 230 };
inline const QColor kIcon { 196, 206, 218 };
inline const QColor kAccent = QColor::fromRgb(Look::kAccent);
inline const QColor kAccentHot = QColor::fromRgb(Look::kAccentHot);
inline const QColor kAccentDown = QColor::fromRgb(Look::kAccentDown);
inline const QColor kDanger { 214, 64, 52 };
inline const QColor kDangerDown { 150, 38, 30 };
inline const QColor kGo { 46, 184, 92 };
inline const QColor kDialogBody = QColor::fromRgb(Look::kDialogBody);
inline const QColor kDialogField = QColor::fromRgb(Look::kField);
inline const QColor kDialogBorder = QColor::fromRgb(Look::kFieldBorder);
inline const QColor kDarkText = QColor::fromRgb(Look::kValueText);
inline const QColor kLabelText = QColor::fromRgb(Look::kLabelText);
inline const QColor kRule { 212, 218, 230 };
} // namespace Colour

enum class ButtonState { Up, Hot, Down };

// The program's font at a pixel size, hinted for pictures.
[[nodiscard]] QFont font(int pixelSize, bool bold = false);

// A transparent canvas to paint on, antialiased.
[[nodiscard]] QImage canvas(QSize size);
void prepare(QPainter &painter);

// A rectangle with rounded corners; `corners` picks which: bit 0 top-left,
// 1 top-right, 2 bottom-right, 3 bottom-left.
[[nodiscard]] QPainterPath roundedRect(const QRectF &rect, qreal radius, int corners = 0xF);

// A vertical gradient fill of a path, with a one-pixel border when `border` is valid.
void fillGradient(
    QPainter &painter, const QPainterPath &path, const QColor &top, const QColor &bottom, const QColor &border = {});

// A sunken field: fill, border and a faint inner shadow along its top.
void drawWell(QPainter &painter, const QRectF &rect, const QColor &fill, const QColor &border, qreal radius = 4);

// Text in a box, aligned as asked, in one colour.
void drawText(QPainter &painter, const QRectF &box, const QString &text, const QFont &font, const QColor &colour,
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// The program's one text button, as the windows draw it, in a state and a
// size; `icon` (if given) is drawn in the text's colour left of the caption.
void drawLookButton(QPainter &painter, const QRectF &box, ButtonState state, Look::ButtonSize size,
    const QString &caption, const std::function<void(QPainter &, const QRectF &, const QColor &)> &icon = {});

// A window picture from an antialiased canvas: pixels less than half covered
// become the key colour, the rest are flattened onto `edge`.
[[nodiscard]] QImage cutWindow(const QImage &canvas, const QColor &edge);

// A button picture: `paint` draws the button over the part of `background`
// under `rect`; pixels it leaves as they were become the key colour, so the
// button blends with the background it was drawn for.
[[nodiscard]] QImage buttonPicture(
    const QImage &background, const QRect &rect, const std::function<void(QPainter &, const QRectF &)> &paint);

// Adds the three state pictures of a button as "<prefix>_up", "_hot", "_down".
void addButton(SkinSet &skin, const QString &prefix, const QImage &background, const QRect &rect,
    const std::function<void(QPainter &, const QRectF &, ButtonState)> &paint);

} // namespace SkinArt
