#pragma once

#include <QColor>
#include <QList>
#include <QPair>
#include <QRect>
#include <QString>
#include <QStringList>

class QImage;
class QMenu;
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
    // Besides fit and overlap: text too small or too faint to read, texts
    // that run into each other, and a window out of the screen's reach.
    [[nodiscard]] QStringList check(QWidget &window) const;
    // An open pop-up list: on the screen in one column, at least as wide as
    // the field it drops from, every caption whole or cut with an ellipsis.
    [[nodiscard]] QStringList checkMenu(QMenu &menu, const QWidget *field = nullptr) const;

    // Text below this many pixels is not read; text whose contrast with its
    // background is below kLeastContrast is not seen.
    static constexpr int kSmallestPixels = 9;
    static constexpr double kLeastContrast = 3.0;
    static double contrast(QRgb a, QRgb b);

private:
    void checkWidget(QWidget &window, QWidget &widget, QStringList &faults) const;
    void checkSiblings(QWidget &parent, QStringList &faults) const;
    void checkText(QWidget &widget, const QString &text, QStringList &faults) const;
    void checkInk(const QImage &picture, const QWidget &window, const QWidget &widget, const QRect &area,
        const QString &what, QStringList &faults) const;
    void checkCalendars(QWidget &window, const QImage &picture, QStringList &faults) const;
    void checkTextGaps(QWidget &parent, QStringList &faults) const;
    void checkReach(QWidget &window, QStringList &faults) const;
    bool overlapAllowed(const QWidget &a, const QWidget &b) const;

    QList<QPair<QString, QString>> m_overlaps;
    QStringList m_underlays;
    QStringList m_paintedTexts;
};
