#pragma once

#include <QFont>
#include <QString>

class QLabel;

// Smaller text is not read at all.
inline constexpr int kSmallestTextPixels = 9;

// Shows `text` in a one-line label; a text too wide for it is cut with an
// ellipsis and the whole of it goes to the hint, before `hint` if any.
void setElidedText(QLabel *label, const QString &text, const QString &hint = {});

// Shows `text` in `font`, made smaller as far as kSmallestTextPixels where
// the text would not fit, and cut as above only when that is not enough: an
// amount is read whole wherever it can be.
void setFittedText(QLabel *label, const QString &text, QFont font, const QString &hint = {});

// `text` with every word wider than `width` allowed to break between any two
// letters, so that a word-wrapped label never runs past its sides (a long
// provider name or path has no blank to wrap at).
[[nodiscard]] QString breakableText(const QString &text, const QFont &font, int width);
