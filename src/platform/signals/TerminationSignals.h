#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a call on the user-interface thread,
// so that a shut-down, a closed terminal or Ctrl+C ends the program as a
// confirmed exit does. The handler only writes the signal's number to a
// pipe; everything else runs from the event loop. One instance at a time.
class TerminationSignals final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminationSignals)

public:
    // `terminate` is called once; later signals are ignored while the program ends.
    explicit TerminationSignals(std::function<void()> terminate, QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the pipe or a handler could not be set up; the signals
    // then keep their default action.
    [[nodiscard]] bool active() const { return m_notifier != nullptr; }

private:
    void readSignal();

    std::function<void()> m_terminate;
    QSocketNotifier *m_notifier = nullptr;
    bool m_called = false;
};
