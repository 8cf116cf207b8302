#include "gui/tariffs/TwoDigitSpinBox.h"

TwoDigitSpinBox::TwoDigitSpinBox(int maximum, QWidget *parent)
    : QSpinBox(parent)
{
    setRange(0, maximum);
}

QString TwoDigitSpinBox::textFromValue(int value) const
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
