#include "gui/dialogs/TAbout.h"

#include "core/windowlogic/ProjectLinks.h"
#include "gui/controls/BuiltInPictures.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

TAbout::TAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_line(messages())
    , m_lineFont(QStringLiteral("Times New Roman"), 13)
{
    setObjectName(QStringLiteral("TAbout"));
    setModal(true);
    setFixedSize(kSize);
    m_line.restart(kSize.width());
    m_timer.setInterval(kStepMilliseconds);
    connect(&m_timer, &QTimer::timeout, this, &TAbout::onScrollTick);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QStringList TAbout::messages()
{
    return {
        QStringLiteral("Visit our home page at %1 and write to us at %2")
            .arg(QLatin1String(kProjectHomePage), QLatin1String(kProjectSupportMail)),
        QStringLiteral("A few little messages"),
        QStringLiteral("that go round and around"),
        QStringLiteral("the top of the screen"),
        QStringLiteral("Fin Des Messages"),
    };
}

void TAbout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_timer.start();
}

void TAbout::onScrollTick()
{
    m_line.advance(QFontMetrics(m_lineFont).horizontalAdvance(m_line.text()), width(), 1);
    update(0, 0, width(), kStripHeight);
}

void TAbout::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_picture.isNull() || !qFuzzyCompare(m_picture.devicePixelRatio(), devicePixelRatioF()))
        m_picture = renderPicture(size(), devicePixelRatioF(), paintAboutPicture);
    painter.drawPixmap(0, 0, m_picture);
    painter.fillRect(QRect(0, 0, width(), kStripHeight), QColor(0, 0, 0));
    painter.setFont(m_lineFont);
    painter.setPen(QColor(255, 220, 90));
    const QFontMetrics metrics(m_lineFont);
    const int baseline = (kStripHeight + metrics.ascent() - metrics.descent()) / 2;
    painter.drawText(QPoint(m_line.x(), baseline), m_line.text());
}

void TAbout::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    accept();
}
