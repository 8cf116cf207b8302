#include "core/spending/SpendingWatch.h"

#include "core/pricing/NextUnit.h"
#include "core/pricing/RateCaption.h"
#include "core/spending/BudgetCheck.h"
#include "core/spending/CheaperHour.h"
#include "core/spending/SpendingSummary.h"
#include "core/store/DateTimeValue.h"

#include <algorithm>

namespace {

const QString kOtherProgramsCall = QStringLiteral(
    "This call was dialled by another program, so Dialtally cannot hang it up.\r\rPlease end it in that program %1.");

} // namespace

SpendingWatch::SpendingWatch(AppCore &core, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_core(core)
    , m_clock(clock)
{
}

int SpendingWatch::providerIndex() const
{
    const CurrentCall &call = m_core.currentCall();
    const int index = call.Connected ? call.CallProvider : m_core.providers().Current;
    return std::clamp(index, 0, kMaxProviders - 1);
}

BillingCycle SpendingWatch::cycleOf(int providerIndex) const
{
    return billingCycleOn(m_clock.now().date(), m_core.providers().records[providerIndex].MonthStartDay);
}

CycleUsage SpendingWatch::usageOf(int providerIndex) const
{
    return cycleUsageOf(
        m_core.log(), providerIndex, cycleOf(providerIndex), m_core.currentCall(), m_clock.now().date());
}

void SpendingWatch::update()
{
    const QDateTime now = m_clock.now();
    const CurrentCall &call = m_core.currentCall();
    if (m_core.providers().Count == 0) {
        m_display = {};
        emit changed();
        return;
    }
    const int index = providerIndex();
    const BillingCycle cycle = cycleOf(index);
    const CycleUsage usage = usageOf(index);
    m_display.cycleText = spendingSummary(m_core, index, cycle, usage, now.date()).cycle;
    checkBudget(index, usage, cycle);
    runAutoHangUp();
    checkNextUnit();

    if (m_autoHangUpAt.isValid()) {
        m_display.line = QStringLiteral("hanging up in %1 s - click to cancel").arg(m_display.hangUpCountdown);
        m_display.lineHint = QStringLiteral(" The budget is spent: click here to keep the call going");
    } else if (const auto next = secondsToNextUnit(call)) {
        m_display.line = nextUnitText(*next) + (m_display.armed ? QStringLiteral(" - hang-up armed") : QString());
        m_display.lineHint = m_display.armed ? QStringLiteral(" Click to keep the call going into the next unit")
                                             : QStringLiteral(" Click to hang up just before the next unit is charged");
    } else if (call.Connected) {
        const RateAt running { call.CallTariff, perMinuteRate(call.CurrentRate, call.UnitLength), call.Incremental };
        const auto cheaper = call.CallTariff < m_core.tariffs().Count ? nextCheaperStart(m_core.tariffs(), now, running)
                                                                      : std::nullopt;
        m_display.line = cheaper ? cheaperStartText(m_core.tariffs(), *cheaper, now) : QString();
        m_display.lineHint = QStringLiteral(" A new call started then would be cheaper");
    } else {
        m_display.line = idleLine(now);
        m_display.lineHint = QStringLiteral(" When calling becomes cheaper");
    }
    emit changed();
}

QString SpendingWatch::idleLine(const QDateTime &now) const
{
    const auto cheaper = nextCheaperStart(m_core.tariffs(), now);
    return cheaper ? cheaperStartText(m_core.tariffs(), *cheaper, now) : QString();
}

void SpendingWatch::checkBudget(int index, const CycleUsage &usage, const BillingCycle &cycle)
{
    const Provider &provider = m_core.providers().records[index];
    SpendingPlan &plan = m_core.spending();
    const auto found = plan.budgets.find(provider.Name.text());
    if (found == plan.budgets.end())
        return;
    ProviderBudget &budget = *found;
    const auto percent = budgetPercent(budget, provider.MonthlyHourLimit, usage);
    if (!percent)
        return;
    const int before = budget.warnedLevels;
    const QDate beforeCycle = budget.warnedCycle;
    const auto level = takeBudgetWarning(budget, cycle, *percent);
    if (budget.warnedLevels != before || budget.warnedCycle != beforeCycle)
        m_core.SaveSpending();

    const CurrentCall &call = m_core.currentCall();
    // Every call that runs while the budget is spent gets its countdown, once.
    if (*percent >= 100 && budget.autoHangUp && call.Connected && m_countedCall != call.CallStart) {
        m_countedCall = call.CallStart;
        m_autoHangUpAt = m_clock.now().addSecs(kAutoHangUpSeconds);
    }
    if (!level)
        return;
    QString text = QStringLiteral("You have used %1 % of this billing month's budget for %2.")
                       .arg(*level)
                       .arg(provider.Name.text().trimmed());
    if (m_autoHangUpAt.isValid())
        text += QStringLiteral("\r\rThe call will be hung up in %1 seconds; click the countdown beside the tariff to "
                               "keep it going.")
                    .arg(kAutoHangUpSeconds);
    m_core.PlayAppSound(AppSound::Warning);
    emit warningDue(text);
}

void SpendingWatch::runAutoHangUp()
{
    if (!m_autoHangUpAt.isValid())
        return;
    if (!m_core.currentCall().Connected) {
        cancelAutoHangUp();
        return;
    }
    m_display.hangUpCountdown = int(std::max<qint64>(0, m_clock.now().secsTo(m_autoHangUpAt)));
    if (m_display.hangUpCountdown > 0)
        return;
    cancelAutoHangUp();
    requestHangUp(QStringLiteral("when the budget is spent"));
}

void SpendingWatch::cancelAutoHangUp()
{
    m_autoHangUpAt = {};
    m_display.hangUpCountdown = -1;
}

void SpendingWatch::toggleArmed()
{
    if (m_autoHangUpAt.isValid()) {
        cancelAutoHangUp();
    } else {
        m_display.armed = !m_display.armed && m_core.currentCall().Connected;
    }
    update();
}

void SpendingWatch::checkNextUnit()
{
    const CurrentCall &call = m_core.currentCall();
    if (!call.Connected) {
        m_display.armed = false;
        return;
    }
    const auto next = secondsToNextUnit(call);
    if (!m_display.armed || !next || *next > m_core.spending().hangUpMarginSeconds)
        return;
    m_display.armed = false;
    requestHangUp(QStringLiteral("before its next unit"));
}

void SpendingWatch::requestHangUp(const QString &otherProgramText)
{
    if (m_core.currentCall().DialledHere)
        emit hangUpRequested();
    else
        emit warningDue(kOtherProgramsCall.arg(otherProgramText));
}
