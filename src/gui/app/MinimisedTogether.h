#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// Minimises the application as one: when the main window is minimised (by
// its button, at start-up or by the window manager) the windows docked under
// it go too, and they come back, docked again, when it is restored. Left
// alone they would stay on the desktop under nothing.
class MinimisedTogether final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(MinimisedTogether)

public:
    // `companions` follow `main`; `dock` places them again after a restore.
    MinimisedTogether(QWidget *main, QList<QWidget *> companions, std::function<void()> dock);

    // Whether the companion was shown before the application was minimised
    // (its own visibility otherwise).
    [[nodiscard]] bool wasVisible(const QWidget *companion) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void minimised();
    void restored();

    QWidget *m_main;
    QList<QPointer<QWidget>> m_companions;
    QList<QPointer<QWidget>> m_hidden; // those this hid, to show again
    std::function<void()> m_dock;
    bool m_minimised = false;
};
