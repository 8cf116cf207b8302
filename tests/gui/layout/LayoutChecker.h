#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QWidget;

// Measures a window as a user would read it: every visible text must fit its
// control, no two visible sibling controls may overlap (unless declared so),
// and every control must lie inside its window.
class LayoutChecker {
public:
    // A pair of sibling controls (object names) that overlap by design.
    void allowOverlap(const QString &first, const QString &second);
    // A control drawn under others on purpose (a backdrop, a painted panel).
    void allowUnderlay(const QString &name);
    // Captions the window's picture paints: a widget must not show them again.
    void setPaintedTexts(const QStringList &texts);

    // One line per fault, naming the window, the control and what is wrong.
    [[nodiscard]] QStringList check(QWidget &window) const;

private:
    void checkWidget(QWidget &window, QWidget &widget, QStringList &faults) const;
    void checkSiblings(QWidget &parent, QStringList &faults) const;
    void checkText(QWidget &widget, const QString &text, QStringList &faults) const;
    bool overlapAllowed(const QWidget &a, const QWidget &b) const;

    QList<QPair<QString, QString>> m_overlaps;
    QStringList m_underlays;
    QStringList m_paintedTexts;
};
