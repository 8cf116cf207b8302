#include "app/SpendingLine.h"

#include "ui/MessageDialogs.h"

#include <QMouseEvent>

SpendingLine::SpendingLine(SpendingWatch &watch, QList<QLabel *> monthLabels, QWidget *parent)
    : QLabel(parent)
    , m_watch(watch)
    , m_monthLabels(std::move(monthLabels))
{
    setObjectName(QStringLiteral("LabelSpending"));
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    connect(&m_watch, &SpendingWatch::changed, this, &SpendingLine::showWatch);
    // Queued: the tick finishes before the message waits for the user.
    connect(&m_watch, &SpendingWatch::warningDue, this, &SpendingLine::showWarning, Qt::QueuedConnection);
}

void SpendingLine::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_watch.toggleArmed();
    QLabel::mousePressEvent(event);
}

void SpendingLine::showWatch()
{
    const SpendingDisplay &d = m_watch.display();
    setText(d.line);
    setToolTip(d.line.isEmpty() ? QString() : d.lineHint);
    QFont bold = font();
    bold.setBold(d.armed || d.hangUpCountdown >= 0);
    setFont(bold);
    for (QLabel *label : m_monthLabels)
        label->setToolTip(d.cycleText.isEmpty() ? QString() : QLatin1Char(' ') + d.cycleText);
}

void SpendingLine::showWarning(const QString &text) { SkinMessageDlg(mtWarning, text, mbOK, window()); }
