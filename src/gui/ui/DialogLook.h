#pragma once

#include "ui/TGTextButton.h"

class QDateEdit;

// The pieces every dialog shares, so no window looks written by another hand.

// The text buttons of the dialogs (Save, Cancel, New, ...): light face,
// the skin's accent colour while hot, a deeper one while pressed.
[[nodiscard]] TextButtonAppearance dialogButtonAppearance();

// A date field whose calendar drop-down button is drawn in the skin's look
// (an accent arrow on the field's own colour) rather than left to the style.
void styleDateField(QDateEdit *field);
