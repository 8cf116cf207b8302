#pragma once

#include <QColor>
#include <QFont>

// The program's one look: its type, its text colours and the faces of its
// buttons, fields, switches, pop-ups and disabled controls. The windows, the
// message boxes built in code and the default skin's pictures all take their
// look from here, so a change made here reaches every one of them.
namespace Look {

// One family for every text, asked for by name (a shipped font, metrically
// equal to the one the skin's pictures were laid out for).
inline constexpr char kFontFamily[] = "Liberation Sans";
// Sizes are in pixels, so texts keep their room at any screen density.
inline constexpr int kTextPixels = 13; // labels, values, fields and large buttons
inline constexpr int kSmallTextPixels = 11; // small buttons in the compact rows

[[nodiscard]] QFont font(int pixels, bool bold = false);

// Text on the light dialog bodies: names of things, and the values beside them.
inline constexpr QRgb kLabelText = qRgb(62, 74, 90);
inline constexpr QRgb kValueText = qRgb(28, 36, 46);
// Text on the dark frames and title strips.
inline constexpr QRgb kLightText = qRgb(236, 241, 246);
inline constexpr QRgb kMutedText = qRgb(138, 152, 168);
// Text of a disabled field or label, on a light surface.
inline constexpr QRgb kDisabledText = qRgb(150, 160, 172);
// What is wrong with a field, said under it, on a light surface.
inline constexpr QRgb kProblemText = qRgb(178, 34, 34);

// The hot colour: what the pointer is over, what is chosen, what has the focus.
inline constexpr QRgb kAccent = qRgb(24, 170, 190);
inline constexpr QRgb kAccentHot = qRgb(44, 196, 214);
inline constexpr QRgb kAccentDown = qRgb(16, 118, 132);

// Surfaces.
inline constexpr QRgb kDialogBody = qRgb(240, 243, 247);
inline constexpr QRgb kDarkBody = qRgb(44, 55, 69);
inline constexpr QRgb kOutline = qRgb(14, 19, 26);

// The one field: dark text on white in a thin grey edge, the accent edge
// while it has the focus.
inline constexpr QRgb kField = qRgb(255, 255, 255);
inline constexpr QRgb kFieldBorder = qRgb(192, 200, 212);
inline constexpr QRgb kReadOnlyField = qRgb(232, 236, 241);

// The one button kind, up, hot and pressed, in two sizes.
struct ButtonFace {
    QRgb fill;
    QRgb text;
    QRgb border;
};
inline constexpr ButtonFace kButtonUp { qRgb(226, 232, 240), kValueText, qRgb(160, 172, 186) };
inline constexpr ButtonFace kButtonHot { kAccent, qRgb(255, 255, 255), kAccent };
inline constexpr ButtonFace kButtonDown { kAccentDown, qRgb(255, 255, 255), kAccentDown };
inline constexpr int kButtonRadius = 5;
inline constexpr int kFocusRingWidth = 2; // in kAccent, inside the edge

enum class ButtonSize {
    Large, // dialogs and messages: kTextPixels
    Small, // the call log's and the chart's compact rows: kSmallTextPixels, bold
};
[[nodiscard]] QFont buttonFont(ButtonSize size);

// Of the dark and the light text colours, the one that reads better on
// `back` (a picture a user's skin may have painted in any colour).
[[nodiscard]] QRgb textOn(QRgb back);

// The one disabled look: a control keeps its face, faded into what lies
// behind it, so it reads as the same control that cannot be used now.
inline constexpr qreal kDisabledOpacity = 0.45;

// The one switch: the accent track with the knob on the right when on, a grey
// one with the knob on the left when off.
inline constexpr QRgb kSwitchOn = kAccent;
inline constexpr QRgb kSwitchOff = qRgb(150, 160, 172);
inline constexpr QRgb kSwitchKnob = qRgb(255, 255, 255);

// Pop-up menus and drop-down lists: a field's colours, the accent under the
// pointer.
inline constexpr QRgb kPopupBack = kField;
inline constexpr QRgb kPopupText = kValueText;
inline constexpr QRgb kPopupBorder = kFieldBorder;
inline constexpr QRgb kPopupHighlight = kAccentDown; // white reads on it, not on kAccent
inline constexpr QRgb kPopupHighlightText = qRgb(255, 255, 255);

} // namespace Look
