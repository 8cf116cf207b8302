#pragma once

#include <QSpinBox>

// A number field for hours, minutes or seconds, always shown with two digits.
class TwoDigitSpinBox final : public QSpinBox {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TwoDigitSpinBox)

public:
    TwoDigitSpinBox(int maximum, QWidget *parent = nullptr);

protected:
    QString textFromValue(int value) const override;
};
