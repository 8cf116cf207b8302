#include "gui/app/MinimisedTogether.h"

#include <QEvent>
#include <QWidget>

#include <utility>

MinimisedTogether::MinimisedTogether(QWidget *main, QList<QWidget *> companions, std::function<void()> dock)
    : QObject(main)
    , m_main(main)
    , m_dock(std::move(dock))
{
    for (QWidget *companion : companions)
        m_companions.append(companion);
    main->installEventFilter(this);
}

bool MinimisedTogether::wasVisible(const QWidget *companion) const
{
    if (m_minimised)
        return m_hidden.contains(companion);
    return companion->isVisible();
}

bool MinimisedTogether::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_main && event->type() == QEvent::WindowStateChange) {
        const bool minimised = m_main->isMinimized();
        if (minimised && !m_minimised)
            this->minimised();
        else if (!minimised && m_minimised)
            restored();
    }
    return QObject::eventFilter(watched, event);
}

void MinimisedTogether::minimised()
{
    m_minimised = true;
    m_hidden.clear();
    for (const QPointer<QWidget> &companion : std::as_const(m_companions))
        if (companion && companion->isVisible()) {
            m_hidden.append(companion);
            companion->hide();
        }
}

void MinimisedTogether::restored()
{
    m_minimised = false;
    for (const QPointer<QWidget> &companion : std::exchange(m_hidden, {}))
        if (companion)
            companion->show();
    if (m_dock)
        m_dock();
}
