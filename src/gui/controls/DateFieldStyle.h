#pragma once

#include <QProxyStyle>

class QAbstractButton;
class QDateEdit;

// Draws the calendar drop-down button of a date field in the skin's look:
// an accent face with a light chevron, lighter while the pointer is over it
// and deeper while pressed. The platform's own button took the field's text
// colour for its arrow and could vanish on its own face.
class DateFieldStyle final : public QProxyStyle {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DateFieldStyle)

public:
    DateFieldStyle();

    // Gives the field this style (owned by the field).
    static void apply(QDateEdit *field);

    // The same face on a separate button that opens a calendar (a text field
    // beside it holds the date).
    static void applyToButton(QAbstractButton *button);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;
};
