#include "gui/app/SpendingLine.h"

#include "gui/messages/TMessDlg.h"

#include <QApplication>
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
    connect(&m_watch, &SpendingWatch::budgetWarningDue, this,
        [this](const BudgetWarning &warning) { showWarning(warning.text); });
    connect(&m_watch, &SpendingWatch::warningDue, this, &SpendingLine::showWarning);
}

void SpendingLine::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QLabel::mousePressEvent(event);
        return;
    }
    // Kept here: passed on to the window, the press would also start dragging it.
    event->accept();
    m_watch.toggleArmed();
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
    // A long tariff name gives way at the left: the time and the rate matter
    // more. The short form puts the call's own figures first and gives way
    // at the right.
    const QFontMetrics metrics(bold);
    const bool wordy = d.shortLine.isEmpty() || metrics.horizontalAdvance(d.line) <= width();
    const QString shown = wordy ? metrics.elidedText(d.line, Qt::ElideLeft, width())
                                : metrics.elidedText(d.shortLine, Qt::ElideRight, width());
    setText(shown);
    if (d.line.isEmpty())
        setToolTip(QString());
    else
        setToolTip(shown == d.line ? d.lineHint : d.line + QLatin1Char('\n') + d.lineHint);
    for (QLabel *label : m_monthLabels)
        label->setToolTip(d.cycleText.isEmpty() ? QString() : QLatin1Char(' ') + d.cycleText);
}

void SpendingLine::showWarning(const QString &text)
{
    // Not modal: the countdown a warning speaks of must stay clickable, and
    // the monitor goes on. A newer warning replaces an older one still open.
    if (m_message)
        m_message->close();
    // Beside an open dialog, so that the dialog does not block it.
    QWidget *parent = QApplication::activeModalWidget();
    auto *message = new TMessDlg(mtWarning, text, mbOK, parent ? parent : window());
    message->setModal(false);
    message->setAttribute(Qt::WA_DeleteOnClose);
    m_message = message;
    message->show();
}
