#pragma once

#include "core/spending/SpendingWatch.h"

#include <QLabel>
#include <QList>
#include <QPointer>

class QDialog;

// The main window's spending line: the next unit during a call, the cheaper
// hour otherwise, and the automatic hang-up's countdown. A click arms the
// hang-up before the next unit or cancels the countdown. It also puts the
// billing month into the hint of the month fields and shows the warnings,
// without blocking the main window.
class SpendingLine final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SpendingLine)

public:
    SpendingLine(SpendingWatch &watch, QList<QLabel *> monthLabels, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showWatch();
    void showWarning(const QString &text);

    SpendingWatch &m_watch;
    QList<QLabel *> m_monthLabels;
    QPointer<QDialog> m_message; // the warning shown last, while it is open
};
