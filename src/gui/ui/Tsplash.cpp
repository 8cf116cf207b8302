#include "ui/Tsplash.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

Tsplash::Tsplash(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_label(new QLabel(this))
{
    setObjectName(QStringLiteral("Tsplash"));
    setFixedSize(456, 366);
    m_label->setObjectName(QStringLiteral("Label1"));
    m_label->setGeometry(0, 320, 456, 24);
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
    const qint64 remaining = kMinimumMilliseconds - m_shown.elapsed();
    if (remaining > 0) {
        QEventLoop wait;
        QTimer::singleShot(int(remaining), &wait, &QEventLoop::quit);
        wait.exec();
    }
    close();
}

void Tsplash::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(20, 40, 90));
    sky.setColorAt(1, QColor(5, 10, 30));
    painter.fillRect(rect(), sky);
    painter.setPen(QColor(255, 200, 60));
    painter.setFont(QFont(QStringLiteral("Arial"), 40, QFont::Bold));
    painter.drawText(QRect(0, 110, width(), 70), Qt::AlignCenter, QStringLiteral("Tollwise"));
    painter.setPen(QColor(200, 210, 230));
    painter.setFont(QFont(QStringLiteral("Arial"), 12));
    painter.drawText(QRect(0, 180, width(), 30), Qt::AlignCenter, QStringLiteral("dial-up call costs, to the second"));
}
