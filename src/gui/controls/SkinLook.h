#pragma once

#include "gui/controls/TGTextButton.h"

#include <QColor>
#include <QFont>

class QCalendarWidget;
class QWidget;

// The program's one look for the controls the dialogs draw over their skin
// pictures: the text buttons, the value labels and the edit fields.
namespace SkinLook {

// Text buttons of every dialog, in the skin's accent colour.
[[nodiscard]] TextButtonAppearance textButton();

// Text buttons on the dark frames and title strips.
[[nodiscard]] TextButtonAppearance darkTextButton();

// Arial at a size in pixels, so texts keep their room at any screen density.
[[nodiscard]] QFont font(int pixels, bool bold = false);

// The font of values and fields on the light dialog bodies.
[[nodiscard]] QFont fieldFont(bool bold = false);

// A value label or a frameless edit field over a painted white well.
void styleField(QWidget *field);

// A calendar drop-down: dark text on white, a dark strip with light month,
// year and arrows, whatever window or field it drops from.
void styleCalendar(QCalendarWidget *calendar);

} // namespace SkinLook
