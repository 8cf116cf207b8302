#pragma once

#include <QString>

class QFont;
class QLabel;

// Shows `text` in a one-line label; a text too wide for it is cut with an
// ellipsis and the whole of it goes to the hint.
void setElidedText(QLabel *label, const QString &text);

// `text` with every word wider than `width` allowed to break between any two
// letters, so that a word-wrapped label never runs past its sides (a long
// provider name or path has no blank to wrap at).
[[nodiscard]] QString breakableText(const QString &text, const QFont &font, int width);
