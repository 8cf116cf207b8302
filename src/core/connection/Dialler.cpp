#include "core/connection/Dialler.h"

#include "core/connection/RasStateText.h"
#include "core/skins/SkinImages.h"

#include <QPointer>

#include <algorithm>

namespace {

const QString kNotConnected = QStringLiteral("Not Connected");
const QString kCreateEntryFailed = QStringLiteral("Dialtally couldn''t create a new Phone Book Entry.");

} // namespace

Dialler::Dialler(CurrentCall &call, CallMonitor &monitor, dialup::DialUpService &service, QObject *parent)
    : QObject(parent)
    , m_call(call)
    , m_monitor(monitor)
    , m_service(service)
{
    // Waited for on the event loop, so the window keeps drawing and the
    // monitor keeps costing meanwhile.
    m_hangUpWait.setSingleShot(true);
    m_hangUpWait.setInterval(kHangUpWaitMilliseconds);
    connect(&m_hangUpWait, &QTimer::timeout, this, &Dialler::finishHangUp);
    // A refusal that comes later leaves the line up and costed; the user hears why.
    m_service.setHangUpRefusalHandler(
        [self = QPointer<Dialler>(this)](dialup::ConnectionHandle, dialup::ErrorCode error) {
            if (self)
                self->reportServiceError(error);
        });
}

void Dialler::ButtonDialClick()
{
    switch (m_monitor.display().dialMode) {
    case MonitorDisplay::DialDials:
        DialEntry();
        break;
    case MonitorDisplay::DialHangsUp:
        HangUpEntry();
        break;
    default:
        break;
    }
}

void Dialler::DialEntry()
{
    const QString entry = m_monitor.display().selectedEntry;
    m_dialHandle = 0;
    m_monitor.setDialButtonImage(QString::fromLatin1(SkinImages::kDialling));
    m_progressShown = true;
    emit progressStarted(entry);

    const auto params = m_service.entryDialParams(entry.toStdString());
    if (!params) {
        // The progress window stays up until the user cancels it.
        reportServiceError(params.error());
        return;
    }
    const std::string password = params->passwordSaved ? params->password : std::string();

    CurrentCall &call = m_call;
    emit busyChanged(true);
    // Set before the dial, so that a report arriving at once already owns the status.
    call.DialledHere = true;
    const QPointer<Dialler> self(this);
    const auto dialled = m_service.dial(
        entry.toStdString(), params->userName, password, [self](std::uint32_t state, dialup::ErrorCode error) {
            if (self)
                self->DialProgress(state, error);
        });
    emit busyChanged(false);
    if (!dialled) {
        // A refused dial opened no line: whatever line is up meanwhile
        // belongs to another program and is left alone.
        call.DialledHere = false;
        reportServiceError(dialled.error());
        abandonDial();
        return;
    }
    m_dialHandle = *dialled;
}

void Dialler::DialProgress(std::uint32_t state, dialup::ErrorCode error)
{
    // News of a dial already hung up or refused is no longer ours to show.
    if (!m_call.DialledHere)
        return;
    const QString line = RasStateText(state, error, m_service);
    if (!line.isEmpty())
        emit progressLine(line);
    const QString status = error != 0 ? kNotConnected : RasStateText(state, 0, m_service);
    if (!status.isEmpty())
        m_monitor.setStatusText(status);
    // A failed dial keeps its line until the user cancels.
    if (error != 0) {
        if (m_progressShown)
            emit progressFailed();
        return;
    }
    // The call belongs to our dial's line, whatever else is up.
    if (m_dialHandle != 0 && (state == dialup::kDeviceConnected || state == dialup::kConnected))
        m_call.RasConnHandle = m_dialHandle;
    if (state == dialup::kDeviceConnected) {
        m_monitor.BeginConnection();
    } else if (state == dialup::kConnected) {
        endProgress();
        m_monitor.BeginConnection();
    } else if (state == dialup::kDisconnected) {
        m_monitor.EndConnection();
    }
}

void Dialler::HangUpEntry()
{
    if (hangingUp())
        return;
    CurrentCall &call = m_call;
    const bool ownDial = call.DialledHere && m_dialHandle != 0;
    // Before the monitor has listed our dial, only the dial knows its line.
    const dialup::ConnectionHandle handle = ownDial ? m_dialHandle : call.RasConnHandle;
    const bool lineUp
        = ownDial || m_monitor.display().dialMode == MonitorDisplay::DialHangsUp || (call.Connected && !call.FakeCall);
    hangUpLine(handle, lineUp, true);
}

void Dialler::hangUpLine(dialup::ConnectionHandle handle, bool lineUp, bool endsCall)
{
    CurrentCall &call = m_call;
    m_dialHandle = 0;
    m_endsCall = endsCall;
    m_hangUpHandle = handle;
    const auto hungUp = m_service.hangUp(handle);
    if (hungUp) {
        m_hangUpWait.start();
        return;
    }
    if (!lineUp || !isListed(handle)) {
        // Nothing was there to hang up, or the line dropped by itself just
        // now: the call simply ends.
        finishHangUp();
        return;
    }
    // The line is still up, so the call goes on being costed until the
    // monitor sees it go down.
    call.DialledHere = false;
    endProgress();
    reportServiceError(hungUp.error());
    emit hangUpFinished();
}

void Dialler::cancelDial()
{
    if (hangingUp())
        return;
    CurrentCall &call = m_call;
    if (m_dialHandle != 0) {
        // Once our call has ended, a call being costed now is another program's.
        hangUpLine(m_dialHandle, true, call.DialledHere);
        return;
    }
    // Our dial never opened a line; the line up now, if any, is another program's.
    call.DialledHere = false;
    abandonDial();
}

void Dialler::abandonDial()
{
    endProgress();
    const bool callRuns = m_call.Connected;
    m_monitor.setDialButtonImage(QString::fromLatin1(callRuns ? SkinImages::kHangUp : SkinImages::kDialUp));
    emit hangUpFinished();
}

bool Dialler::isListed(dialup::ConnectionHandle handle)
{
    const auto connections = m_service.enumConnections();
    // When the service cannot tell, the line is taken to be still up.
    if (!connections)
        return true;
    return std::ranges::any_of(
        *connections, [handle](const dialup::ActiveConnection &c) { return c.handle == handle; });
}

bool Dialler::isUp(dialup::ConnectionHandle handle)
{
    if (!isListed(handle))
        return false;
    const auto status = m_service.connectionStatus(handle);
    return !status || status->state != dialup::kDisconnected;
}

void Dialler::finishHangUp()
{
    m_call.DialledHere = false;
    if (!m_endsCall) {
        abandonDial();
        return;
    }
    // A service that answers later still has the line up: the call ends
    // when the line goes, and is costed until then.
    if (m_call.Connected && isUp(m_hangUpHandle)) {
        endProgress();
        emit hangUpFinished();
        return;
    }
    endProgress();
    m_monitor.setDialButtonImage(QString::fromLatin1(SkinImages::kDialUp));
    m_monitor.EndConnection();
    emit hangUpFinished();
}

void Dialler::ButtonNewConnectionClick(dialup::NativeWindow owner)
{
    if (const auto created = m_service.createEntry(owner); !created) {
        // Closing the service's dialog is the user's choice, not a failure.
        if (created.error() != dialup::kErrorCancelled)
            emit errorReported(kCreateEntryFailed);
        return;
    }
    m_monitor.UpdateProviderDisplay();
}

void Dialler::endProgress()
{
    if (!m_progressShown)
        return;
    m_progressShown = false;
    emit progressEnded();
}

void Dialler::reportServiceError(dialup::ErrorCode code)
{
    const QString text = QString::fromStdString(m_service.errorText(code));
    // The progress window says it too, so it is never left empty and spinning.
    if (m_progressShown) {
        emit progressLine(text);
        emit progressFailed();
    }
    emit errorReported(text);
}
