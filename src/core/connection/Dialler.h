#pragma once

#include "core/connection/CallMonitor.h"
#include "core/services/DialUpService.h"
#include "core/store/CurrentCall.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>

// The main window's own dialling: the dial button dials the selected entry
// with its stored credentials or hangs the line up, the service's progress
// reports drive the status and begin or end the call, and the progress window
// is told what to show. The window only draws what the signals say.
//
// The user name and password go to the service and nowhere else: no signal,
// status text or title ever carries them.
class Dialler final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Dialler)

public:
    // How long a successful hang-up is given to take the line down before the call ends.
    static constexpr int kHangUpWaitMilliseconds = 100;

    Dialler(CurrentCall &call, CallMonitor &monitor, dialup::DialUpService &service, QObject *parent = nullptr);

    // Dials in mode 1, hangs up in mode 2, ignores a click before the first tick.
    void ButtonDialClick();
    // Dials the entry the main window shows.
    void DialEntry();
    // Hangs up; the call ends once the wait is over. A second request while
    // one waits is ignored.
    void HangUpEntry();
    // The progress window's cancel: hangs up the line our own dial opened,
    // and only that one.
    void cancelDial();
    // A progress report of our own dial.
    void DialProgress(std::uint32_t state, dialup::ErrorCode error);
    // The service's new-entry dialog, owned by `owner`.
    void ButtonNewConnectionClick(dialup::NativeWindow owner);

    [[nodiscard]] bool progressShown() const { return m_progressShown; }
    [[nodiscard]] bool hangingUp() const { return m_hangUpWait.isActive(); }

signals:
    // Show the progress window for `entry`, its list emptied and its animation running.
    void progressStarted(const QString &entry);
    void progressLine(const QString &line);
    // Hide the progress window and stop its animation.
    void progressEnded();
    // The dial failed: the window stays with its lines, its animation stops.
    void progressFailed();
    // An Error message with Okay and Cancel.
    void errorReported(const QString &text);
    // The hourglass while the dial is being started.
    void busyChanged(bool busy);
    // The hang-up, with its wait, is over.
    void hangUpFinished();

private:
    // Hangs up `handle`; the call being costed ends with it only when `endsCall`.
    void hangUpLine(dialup::ConnectionHandle handle, bool lineUp, bool endsCall);
    void finishHangUp();
    // Closes the progress of a dial that opened no line, ending no call.
    void abandonDial();
    bool isListed(dialup::ConnectionHandle handle);
    void endProgress();
    void reportServiceError(dialup::ErrorCode code);
    // Whether the service still lists `handle` as a line that is up.
    bool isUp(dialup::ConnectionHandle handle);

    CurrentCall &m_call; // AppCore's, shared with the monitor
    CallMonitor &m_monitor;
    dialup::DialUpService &m_service;
    QTimer m_hangUpWait;
    dialup::ConnectionHandle m_dialHandle = 0; // our dial's line, until a hang-up
    dialup::ConnectionHandle m_hangUpHandle = 0; // the line being hung up
    bool m_endsCall = true; // the hang-up waiting ends the call being costed
    bool m_progressShown = false;
};
