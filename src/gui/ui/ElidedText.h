#pragma once

#include <QString>

class QLabel;

// Shows `text` in a one-line label; a text too wide for it is cut with an
// ellipsis and the whole of it goes to the hint.
void setElidedText(QLabel *label, const QString &text);
