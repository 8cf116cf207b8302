#pragma once

#include "core/skins/Look.h"
#include "gui/controls/TGTextButton.h"

#include <QColor>
#include <QFont>

class QApplication;
class QCalendarWidget;
class QLabel;
class QWidget;

// The look (core/skins/Look.h) put on the widgets: the text buttons, the
// labels, the edit fields, the calendar and the application's own pop-ups.
namespace SkinLook {

// The one text button's colours.
[[nodiscard]] TextButtonAppearance textButton();

// A text button in the one kind, at one of its two sizes.
void styleButton(TGTextButton *button, Look::ButtonSize size = Look::ButtonSize::Large);

// The program's font at a size in pixels.
[[nodiscard]] QFont font(int pixels, bool bold = false);

// The font of values and fields on the light dialog bodies.
[[nodiscard]] QFont fieldFont(bool bold = false);

// A value label or a frameless edit field over a painted white well.
void styleField(QWidget *field);

// A caption drawn by a widget beside the painted ones: the same font and colour.
void styleCaption(QLabel *caption);

// A field laid out in a dialog built in code (a line, a number): the one
// field with its edge drawn, the accent edge while it has the focus.
void styleFormField(QWidget *field);

// The line under a dialog's fields that says what is wrong with them; hidden
// while there is nothing to say.
void styleProblem(QLabel *problem);

// The font, the colours and the style of pop-up menus, drop-down lists and
// the dialogs that are not skinned, for the whole application.
void applyToApplication(QApplication &application);

// A calendar drop-down: dark text on white, a dark strip with light month,
// year and arrows, whatever window or field it drops from.
void styleCalendar(QCalendarWidget *calendar);

} // namespace SkinLook
