#pragma once

class QAbstractButton;
class QWidget;

// Return and Enter anywhere in `window` press its default `button` (Save or
// OK): in a field, on a switch or on the window itself. A button that has
// the focus keeps them, as it takes them itself. Nothing happens while
// `button` is disabled or hidden.
void pressOnReturn(QWidget *window, QAbstractButton *button);
