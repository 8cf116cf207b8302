#include "gui/dialogs/Tsplash.h"

#include "gui/controls/BuiltInPictures.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>

Tsplash::Tsplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("Tsplash"));
    setFixedSize(kSize);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setGeometry(0, 320, kSize.width(), 24);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setStyleSheet(QStringLiteral("color: white; font: 12px 'Arial';"));
}

void Tsplash::showNow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_label->setText(QStringLiteral("loading"));
    show();
    repaint();
    m_shown.start();
}

void Tsplash::closeWhenDue()
{
    // A timer may wake a millisecond early, so the clock has the last word.
    while (m_shown.isValid() && m_shown.elapsed() < kMinimumMilliseconds) {
        QEventLoop wait;
        QTimer::singleShot(
            int(kMinimumMilliseconds - m_shown.elapsed()) + 1, Qt::PreciseTimer, &wait, &QEventLoop::quit);
        wait.exec();
    }
    close();
}

void Tsplash::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintSplashPicture(painter, size());
}
