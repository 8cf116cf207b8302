#include "gui/app/SpendingLine.h"

#include "gui/messages/MessageDialogs.h"

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

void SpendingLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    // The watch tells only of changes: the line is elided anew for its new width here.
    showWatch();
}

void SpendingLine::showWatch()
{
    const SpendingDisplay &d = m_watch.display();
    QFont bold = font();
    bold.setBold(d.armed || d.hangUpCountdown >= 0);
    setFont(bold);
    // A long tariff name gives way at the left: the time and the rate matter more.
    const QString shown = QFontMetrics(bold).elidedText(d.line, Qt::ElideLeft, width());
    setText(shown);
    if (d.line.isEmpty())
        setToolTip(QString());
    else
        setToolTip(shown == d.line ? d.lineHint : d.line + QLatin1Char('\n') + d.lineHint);
    for (QLabel *label : m_monthLabels)
        label->setToolTip(d.cycleText.isEmpty() ? QString() : QLatin1Char(' ') + d.cycleText);
}

void SpendingLine::showWarning(const QString &text) { SkinMessageDlg(mtWarning, text, mbOK, window()); }
