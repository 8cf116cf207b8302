#pragma once

#include "core/connection/MonitorDisplay.h"
#include "core/connection/MonitorParts.h"
#include "core/providers/ProviderRegistry.h"
#include "core/services/Clock.h"
#include "core/services/DialUpService.h"
#include "core/volume/VolumeCounter.h"

#include <QDateTime>
#include <QObject>

#include <cstdint>
#include <functional>
#include <optional>

// The program's main loop: once a second it polls the dial-up service, begins
// and ends calls (whichever program dialled them), costs the running call to
// the second and books it to its provider, logs every finished call and keeps
// the tariff in force current while idle. It owns no window: the main window
// renders display() whenever displayChanged() is emitted.
class CallMonitor final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CallMonitor)

public:
    CallMonitor(MonitorParts parts, dialup::DialUpService &dialUp, Clock &clock, QObject *parent = nullptr);

    const MonitorDisplay &display() const { return m_display; }
    ProviderRegistry &registry() { return m_registry; }

    // Before the first tick: phonebook synchronisation, provider display and
    // the rebuild of the providers' counters from the log.
    void startUp();

    // The once-a-second tick. Seconds are counted on the monotonic clock, so
    // a late tick costs every second that passed since the last one.
    void tick();

    // How long the dial-up service may be away during a call before the
    // call is taken to have ended when it left.
    static constexpr std::int64_t kServiceAwayLimitMs = 60000;

    // Both are safe to call at any time: a second begin while a call runs,
    // or an end while idle or during a simulated call, does nothing.
    void BeginConnection();
    void EndConnection();

    // F2 and F3: a simulated call with the selected provider.
    void startFakeCall();
    void endFakeCall();
    // The user confirmed exit: a running call ends and is logged now, as if
    // the line had dropped, so that the call the user paid for is kept. Its
    // files are left to the exit's own save, which writes each file once.
    void endCallForExit();

    // Phonebook re-read, then the selected provider and the current call's labels.
    void UpdateProviderDisplay();
    // For the dial progress and the provider choice.
    void setStatusText(const QString &text);
    void setSelectedEntry(const QString &name);
    // The dial button's picture while our own dial runs or ends.
    void setDialButtonImage(const QString &image);

    // The call log window's refill after a logged call; until one is set the
    // providers' counters are rebuilt from the log here.
    void setCallLogRefill(std::function<void()> refill) { m_refill = std::move(refill); }

    // Called with the running call after its volume was read, at every tick
    // (before its seconds are costed) and once more as it ends (before it is
    // logged): `previous` is the volume at the call before. What it does to
    // the call's cost and its provider's counters is logged with the call.
    using VolumeHook = std::function<void(CurrentCall &call, const CallVolume &previous)>;
    void setVolumeHook(VolumeHook hook) { m_volumeHook = std::move(hook); }

signals:
    void displayChanged();
    // Another line came up during a call; only the call's own line is
    // costed. Emitted once per call.
    void secondLineUp(const QString &callEntry, const QString &otherEntry);
    // The log was full: its oldest calls went to the archive. Emitted once.
    void oldCallsArchived(int calls, const QString &archivePath);

private:
    // Counts nested operations; the outermost one tells the window.
    class Operation {
    public:
        explicit Operation(CallMonitor &monitor);
        ~Operation();
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;

    private:
        CallMonitor &m_monitor;
    };

    void AnyActiveConnections();
    // The service is away during a call: the call is held, neither ended
    // nor costed, until the service says whether its line is still up.
    void holdCallWhileAway();
    void endCallWhenServiceLeft();
    void noteSecondLine(const std::vector<dialup::ActiveConnection> &connections);
    void runCallSeconds(const QDateTime &now);
    void showRunningCall();
    void refreshRateCaption();
    void refillCallLog();
    void makeRoomInLog();
    void readCallVolume();
    Provider &callProvider();
    QDateTime wholeSecondNow() const;

    MonitorParts m_parts;
    dialup::DialUpService &m_dialUp;
    Clock &m_clock;
    ProviderRegistry m_registry;
    MonitorDisplay m_display;
    std::function<void()> m_refill;
    VolumeHook m_volumeHook;
    VolumeCounter m_volume;
    int m_depth = 0;
    std::int64_t m_secondsBase = 0; // monotonic ms at the call's first second
    std::int64_t m_secondsRun = 0; // seconds costed since then
    QDate m_day; // of the last tick: today's counters restart when it changes
    int m_archivedNotice = 0; // calls archived by the call ending now, to be told
    bool m_toldArchive = false;
    bool m_saveAtCallEnd = true; // off while the exit ends the call
    dialup::ConnectionHandle m_callLine = 0; // the line the running call belongs to
    bool m_callLineSeen = false; // the service has listed the call's line
    bool m_toldSecondLine = false;
    bool m_away = false; // the service left during the call
    std::int64_t m_awaySinceMs = 0;
};
