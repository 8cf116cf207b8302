#include "core/connection/CallMonitor.h"

#include "core/calllog/ProviderTotals.h"
#include "core/connection/CallLogging.h"
#include "core/connection/RunningCall.h"
#include "core/pricing/CurrentCostRate.h"
#include "core/pricing/RateCaption.h"
#include "core/skins/SkinImages.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/tariffs/TariffTotals.h"

#include <QLocale>

#include <algorithm>
#include <utility>

namespace {

const QString kNotConnected = QStringLiteral("Not Connected");
const QString kConnecting = QStringLiteral("connecting...");
constexpr int kEntryNameLength = 256;

} // namespace

CallMonitor::Operation::Operation(CallMonitor &monitor)
    : m_monitor(monitor)
{
    ++m_monitor.m_depth;
}

CallMonitor::Operation::~Operation()
{
    if (--m_monitor.m_depth > 0)
        return;
    emit m_monitor.displayChanged();
    // Told once the archive holds them, not while a failed write keeps them in the log.
    if (m_monitor.m_archivedNotice > 0 && !m_monitor.m_parts.archivePending()) {
        const int calls = std::exchange(m_monitor.m_archivedNotice, 0);
        emit m_monitor.oldCallsArchived(calls, m_monitor.m_parts.archivePath());
    }
}

CallMonitor::CallMonitor(MonitorParts parts, dialup::DialUpService &dialUp, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_parts(std::move(parts))
    , m_dialUp(dialUp)
    , m_clock(clock)
    , m_registry(m_parts.providers, dialUp)
{
}

void CallMonitor::startUp()
{
    const Operation operation(*this);
    m_registry.GetSystemDailupProviders();
    UpdateProviderDisplay();
    refillCallLog();
}

void CallMonitor::tick()
{
    // A dialog opened from within a call's end or begin runs its own event
    // loop; the seconds of the ticks skipped meanwhile are costed on the next.
    if (m_depth > 0)
        return;
    const Operation operation(*this);
    const QDateTime now = m_clock.now();
    m_display.dateTimeText = QLocale().toString(now, QStringLiteral("hh:mm:ss,  ddd d MMM yy"));
    if (now.date() != m_day) {
        // Also the first tick: the program may have been closed over midnight.
        m_day = now.date();
        restartToday(m_parts.providers, m_day);
        UpdateProviderDisplay();
    }
    AnyActiveConnections();
    CurrentCall &call = m_parts.call;
    // A call held while the service is away is costed when it is back, for
    // every second, or ends when it left.
    if (call.Connected) {
        if (!m_away)
            runCallSeconds(now);
    } else {
        SetCurrentCostRate(m_parts.tariffs, call, now);
    }
    refreshRateCaption();
}

void CallMonitor::AnyActiveConnections()
{
    CurrentCall &call = m_parts.call;
    const auto connections = m_dialUp.enumConnections();
    if (!connections) {
        m_display.statusText = QStringLiteral("Failure in connections.");
        if (dialup::isServiceAway(connections.error()))
            holdCallWhileAway();
        return;
    }
    const bool callOnLine = call.Connected && !call.FakeCall;
    auto callLine = std::ranges::find(*connections, m_callLine, &dialup::ActiveConnection::handle);
    if (m_away) {
        m_away = false;
        // Back, but without the call's line: it went when the service did.
        if (callOnLine && callLine == connections->end())
            endCallWhenServiceLeft();
    }
    if (connections->empty()) {
        m_display.statusText = kNotConnected;
        m_display.dialMode = MonitorDisplay::DialDials;
        EndConnection();
        return;
    }

    // A call belongs to the line it began on until that line goes, whatever
    // else comes and goes meanwhile.
    const dialup::ActiveConnection *watched = &connections->front();
    // A call begun before its line was listed takes the first line listed.
    if (callOnLine && callLine == connections->end() && !m_callLineSeen)
        callLine = connections->begin();
    if (callLine != connections->end()) {
        m_callLine = callLine->handle;
        m_callLineSeen = true;
    }
    if (call.Connected && !call.FakeCall) {
        if (callLine == connections->end()) {
            EndConnection();
        } else {
            watched = &*callLine;
            noteSecondLine(*connections);
        }
    }
    call.RasConnHandle = watched->handle;
    m_display.selectedEntry = QString::fromStdString(watched->entryName).left(kEntryNameLength);
    // A connection of an entry the table does not know yet still gets its own
    // provider; only a full table leaves the current one selected.
    m_registry.findOrAdd(m_display.selectedEntry);
    UpdateProviderDisplay();

    // A failed query reads as a connection still connecting.
    const dialup::ConnectionStatus status
        = m_dialUp.connectionStatus(watched->handle).value_or(dialup::ConnectionStatus {});
    // Once costed, a call shows as connected however it was dialled.
    if (!call.DialledHere && !call.Connected) {
        if (m_display.statusText == kConnecting)
            m_display.dialButtonImage = QStringLiteral("dial_hot");
        m_display.statusText = kConnecting;
    }
    if (status.state == dialup::kDeviceConnected && status.error == 0) {
        if (!call.DialledHere)
            m_display.statusText = QStringLiteral("D.Connected");
        BeginConnection();
    } else if (status.state == dialup::kConnected) {
        if (!call.DialledHere)
            m_display.statusText = QStringLiteral("connected");
        BeginConnection();
    } else if (status.state == dialup::kDisconnected) {
        if (!call.DialledHere)
            m_display.statusText = QStringLiteral("disconnected");
        EndConnection();
    }
    if (call.Connected)
        m_display.dialButtonImage = QString::fromLatin1(SkinImages::kHangUp);
    m_display.statusHint = m_display.statusText;
    m_display.dialMode = MonitorDisplay::DialHangsUp;
}

void CallMonitor::holdCallWhileAway()
{
    const CurrentCall &call = m_parts.call;
    if (!call.Connected || call.FakeCall)
        return;
    if (!m_away) {
        m_away = true;
        m_awaySinceMs = m_clock.monotonicMilliseconds();
        return;
    }
    if (m_clock.monotonicMilliseconds() - m_awaySinceMs > kServiceAwayLimitMs) {
        m_away = false;
        endCallWhenServiceLeft();
    }
}

void CallMonitor::endCallWhenServiceLeft()
{
    // Its seconds were costed up to then and no further, so it ends then.
    EndConnection();
}

void CallMonitor::noteSecondLine(const std::vector<dialup::ActiveConnection> &connections)
{
    if (m_toldSecondLine)
        return;
    for (const dialup::ActiveConnection &other : connections) {
        if (other.handle == m_callLine)
            continue;
        const auto status = m_dialUp.connectionStatus(other.handle);
        if (status && status->error == 0
            && (status->state == dialup::kConnected || status->state == dialup::kDeviceConnected)) {
            m_toldSecondLine = true;
            emit secondLineUp(m_display.selectedEntry, QString::fromStdString(other.entryName));
            return;
        }
    }
}

void CallMonitor::runCallSeconds(const QDateTime &now)
{
    CurrentCall &call = m_parts.call;
    const std::int64_t monotonic = m_clock.monotonicMilliseconds();
    if (call.FirstTick) {
        m_secondsBase = monotonic;
        m_secondsRun = 0;
    }
    readCallVolume();
    // The seconds due by now, the first falling on the tick that found the
    // call; rounding keeps an on-time timer's jitter from adding or losing one.
    const std::int64_t elapsed = std::max<std::int64_t>(0, monotonic - m_secondsBase);
    const std::int64_t due = (elapsed + 500) / 1000 + 1;
    Provider &provider = callProvider();
    for (std::int64_t behind = due - m_secondsRun - 1; behind >= 0; --behind) {
        const QDate day = behind == 0 ? now.date() : now.addSecs(-behind).date();
        advanceCallOneSecond(call, provider, toDateTimeValue(day));
    }
    m_secondsRun = std::max(m_secondsRun, due);
    showRunningCall();
}

void CallMonitor::readCallVolume()
{
    CurrentCall &call = m_parts.call;
    // A simulated call has no line to count.
    if (!call.FakeCall) {
        const auto reading = m_dialUp.connectionBytes(m_callLine);
        m_volume.add(reading ? std::optional(*reading) : std::nullopt);
    }
    const CallVolume previous = std::exchange(call.Volume, m_volume.volume());
    if (m_volumeHook)
        m_volumeHook(call, previous);
}

void CallMonitor::showRunningCall()
{
    const CurrentCall &call = m_parts.call;
    if (call.UnitLength >= 2)
        m_display.gaugePosition = call.UnitPosition;
    m_display.durationText = ShortDurationText(call.CallSeconds);
    m_display.costText = moneyText(call.CallCost, m_parts.currencyText);
    UpdateProviderDisplay();
    if (m_parts.settings.ShowConnectionTimeOnTitle)
        m_display.title = m_display.durationText + QLatin1Char(' ') + m_display.costText + QStringLiteral(" - ")
            + m_display.selectedEntry.trimmed();
    else
        m_display.title = QStringLiteral("Dialtally");
}

void CallMonitor::refreshRateCaption()
{
    const RateCaption caption = rateCaption(m_parts.tariffs, m_parts.call, m_parts.currencyText);
    m_display.rateCaption = caption.caption;
    if (caption.hint)
        m_display.rateHint = *caption.hint;
}

void CallMonitor::UpdateProviderDisplay()
{
    const ProviderTable &providers = m_parts.providers;
    if (providers.Count == 0)
        return;
    const Operation operation(*this);
    m_registry.GetSystemDailupProviders();
    const int current = std::min<int>(providers.Current, kMaxProviders - 1);
    const Provider &provider = providers.records[current];
    // The entry's own name, which a record cut to fit does not hold.
    m_display.selectedEntry = current < providers.Count ? m_registry.phonebookName(current) : provider.Name.text();
    const QString &currency = m_parts.currencyText;
    m_display.todateTime = LongDurationText(provider.TotalSeconds);
    m_display.todateCost = moneyText(provider.TotalCost, currency);
    m_display.totalNumOfCalls = QString::number(provider.TotalCalls);
    m_display.monthsTime = LongDurationText(provider.MonthSeconds);
    m_display.monthsCost = moneyText(provider.MonthCost, currency);
    m_display.todaysTime = ShortDurationText(provider.TodaySeconds);
    m_display.todaysCost = moneyText(provider.TodayCost, currency);
    const CurrentCall &call = m_parts.call;
    m_display.durationText = ShortDurationText(call.CallSeconds);
    m_display.costText = moneyText(call.CallCost, currency);
}

void CallMonitor::setStatusText(const QString &text)
{
    const Operation operation(*this);
    m_display.statusText = text;
}

void CallMonitor::setSelectedEntry(const QString &name)
{
    const Operation operation(*this);
    m_display.selectedEntry = name;
}

void CallMonitor::setDialButtonImage(const QString &image)
{
    const Operation operation(*this);
    m_display.dialButtonImage = image;
}

Provider &CallMonitor::callProvider()
{
    return m_parts.providers.records[std::min<int>(m_parts.call.CallProvider, kMaxProviders - 1)];
}

QDateTime CallMonitor::wholeSecondNow() const
{
    // Calls are logged to the second; a start kept to the second is also the
    // moment its tariff is chosen for, so a call begun at 17:59:59.7 is rated
    // as at 17:59:59.
    const QDateTime now = m_clock.now();
    return now.addMSecs(-now.time().msec());
}

void CallMonitor::BeginConnection()
{
    CurrentCall &call = m_parts.call;
    if (call.Connected)
        return;
    const Operation operation(*this);
    m_display.dialButtonImage = QString::fromLatin1(SkinImages::kHangUp);
    m_display.scannerRunning = true;
    m_display.statusText = QStringLiteral("Connected");
    call.Connected = true;
    m_callLine = call.RasConnHandle;
    m_callLineSeen = false;
    m_toldSecondLine = false;
    m_away = false;
    // A simulated call runs with the selected provider, whatever it is named.
    if (call.FakeCall)
        m_registry.ProviderDBFind(m_display.selectedEntry);
    else
        m_registry.findOrAdd(m_display.selectedEntry);
    call.CallProvider = m_parts.providers.Current;
    call.Volume = {};
    m_volume.reset();

    const QDateTime now = wholeSecondNow();
    const DateTimeValue today = toDateTimeValue(now.date());
    Provider &provider = callProvider();
    restartToday(provider, now.date());
    ++provider.TodayCalls;
    ++provider.MonthCalls;
    ++provider.TotalCalls;
    provider.LastCallDate = today;

    beginCallCost(call, m_parts.tariffs, now);

    m_display.gaugeMin = 0;
    m_display.gaugePosition = call.UnitPosition;
    m_display.gaugeMax = call.UnitLength;
    m_display.callLabelsBold = true;
    m_parts.playConnectedSound();
}

void CallMonitor::EndConnection()
{
    CurrentCall &call = m_parts.call;
    if (call.FakeCall || !call.Connected)
        return;
    const Operation operation(*this);
    m_display.dialButtonImage = QStringLiteral("dial_up");
    m_display.scannerRunning = false;
    m_display.statusText = kNotConnected;
    call.Connected = false;
    m_away = false;
    // However the call ended, a later one is not ours unless we dial it.
    call.DialledHere = false;

    // The last bytes, while the line may still answer; a line already gone keeps the last reading.
    if (!m_away)
        readCallVolume();
    makeRoomInLog();
    CallLogTable &log = m_parts.log;
    ++log.Count;
    // The seconds counted are the call's duration and what it was charged
    // for; the end is the start plus those seconds. The wall clock would
    // disagree by one whenever the call began or ended between two ticks
    // (dialled or hung up here): the start is stamped when the line came up,
    // but its first second is counted at the next tick, and a hang-up between
    // ticks keeps the second the last tick began.
    const QDateTime start = fromDateTimeValue(call.CallStart);
    const QDateTime end = start.addSecs(call.CallSeconds);
    call.CallEnd = toDateTimeValue(end);
    TariffTable &tariffs = m_parts.tariffs;
    FinishedCall finished;
    finished.start = start;
    finished.end = end;
    finished.providerIndex = std::uint8_t(call.CallProvider & 0xFF);
    finished.seconds = call.CallSeconds;
    finished.cost = call.CallCost;
    finished.tariffId = loggedTariffId(tariffs, call.CallTariff);
    writeCallRecord(log.records[log.Count - 1], finished);
    m_parts.volumes.records[log.Count - 1] = call.Volume;
    addCallToTariff(tariffs, call.CallTariff, call.CallSeconds, call.CallCost);
    m_parts.noteLoggedCall(
        log.records[log.Count - 1], call.CallTariff < tariffs.Count ? tariffs.records[call.CallTariff].IdNumber : 0);

    call.CallSeconds = 0;
    call.CallCost = 0;
    call.CurrentRate = 0;
    call.CallTariff = 0;
    m_display.callLabelsBold = false;

    if (m_saveAtCallEnd)
        m_parts.saveEverything();
    refillCallLog();
}

void CallMonitor::makeRoomInLog()
{
    CallLogTable &log = m_parts.log;
    log.Count = std::clamp<std::int32_t>(log.Count, 0, kMaxLogRecords);
    const LogRoom room = makeRoomForCall(log, m_parts.volumes);
    if (room.archived.isEmpty())
        return;
    m_parts.archiveLogRecords(room.archived, room.archivedVolumes);
    if (!m_toldArchive) {
        m_toldArchive = true;
        m_archivedNotice = int(room.archived.size() / qsizetype(sizeof(CallRecord)));
    }
}

void CallMonitor::refillCallLog()
{
    if (m_refill) {
        m_refill();
        return;
    }
    UpdateProviderTotals(m_parts.providers, m_parts.log, m_clock.now().date(), m_parts.archivedCalls());
    UpdateProviderDisplay();
}

void CallMonitor::startFakeCall()
{
    const Operation operation(*this);
    m_parts.call.FakeCall = true;
    BeginConnection();
}

void CallMonitor::endFakeCall()
{
    const Operation operation(*this);
    m_parts.call.FakeCall = false;
    EndConnection();
}

void CallMonitor::endCallForExit()
{
    const bool saving = std::exchange(m_saveAtCallEnd, false);
    endFakeCall();
    m_saveAtCallEnd = saving;
}
