#include "core/spending/SpendingWatch.h"

#include "core/pricing/NextUnit.h"
#include "core/pricing/RateCaption.h"
#include "core/spending/BudgetCheck.h"
#include "core/spending/BudgetWarning.h"
#include "core/spending/CheaperHour.h"
#include "core/spending/SpendingSummary.h"
#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/volume/VolumePricing.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

// %1: when to end it, with a blank before, or nothing.
const QString kOtherProgramsCall = QStringLiteral(
    "This call was dialled by another program, so Dialtally cannot hang it up: please end it in that program%1.");
const QString kBeforeNextUnit = QStringLiteral(" before its next unit");

} // namespace

SpendingWatch::SpendingWatch(SpendingParts parts, Clock &clock, QObject *parent)
    : QObject(parent)
    , m_parts(std::move(parts))
    , m_clock(clock)
    , m_data(m_parts, clock)
{
}

int SpendingWatch::providerIndex() const
{
    const CurrentCall &call = m_parts.call;
    const int index = call.Connected ? call.CallProvider : m_parts.providers.Current;
    return std::clamp(index, 0, kMaxProviders - 1);
}

BillingCycle SpendingWatch::cycleOf(int providerIndex) const { return cycleOn(providerIndex, m_clock.now().date()); }

CycleUsage SpendingWatch::usageOf(int providerIndex) const { return usageOn(providerIndex, m_clock.now().date()); }

std::optional<std::int64_t> SpendingWatch::dataUsedOf(int providerIndex) const
{
    return dataUsedOn(providerIndex, m_clock.now().date());
}

BillingCycle SpendingWatch::cycleOn(int providerIndex, const QDate &today) const
{
    return billingCycleOn(today, m_parts.providers.records[providerIndex].MonthStartDay);
}

CycleUsage SpendingWatch::usageOn(int providerIndex, const QDate &today) const
{
    return m_usage.usage(m_parts.log, m_parts.logChanges(), providerIndex, cycleOn(providerIndex, today), m_parts.call,
        today, m_parts.archivedCalls());
}

std::optional<std::int64_t> SpendingWatch::dataUsedOn(int providerIndex, const QDate &today) const
{
    const auto found = m_parts.volumePlans.constFind(m_parts.providers.records[providerIndex].Name.text());
    if (found == m_parts.volumePlans.constEnd() || found->none())
        return std::nullopt;
    const BillingCycle cycle = cycleOn(providerIndex, today);
    DataCount &last = m_dataCount;
    // Counted again only when what it is counted from changed, not every second.
    if (last.logChanges != m_parts.logChanges() || last.providerIndex != providerIndex || last.cycleStart != cycle.start
        || last.today != today || last.counted != found->counted) {
        last = { m_parts.logChanges(), providerIndex, cycle.start, today, found->counted,
            loggedCycleBytes(*found, providerIndex, cycle, today, m_parts.log, m_parts.volumes.records,
                m_parts.archivedCalls(), m_parts.archivedVolumes()) };
    }
    return last.bytes + m_data.runningBytesIn(providerIndex, cycle);
}

void SpendingWatch::update()
{
    const SpendingDisplay before = m_display;
    workOutDisplay();
    // Once a second: the line repaints only when it has something new.
    if (m_display != before)
        emit changed();
}

void SpendingWatch::workOutDisplay()
{
    const QDateTime now = m_clock.now();
    const CurrentCall &call = m_parts.call;
    if (m_parts.providers.Count == 0) {
        m_display = {};
        m_cycleTextSource = {};
        return;
    }
    const int index = providerIndex();
    // The clock is read once: each reading asks the system for the time zone.
    const BillingCycle cycle = cycleOn(index, now.date());
    const CycleUsage usage = usageOn(index, now.date());
    const CycleTextSource source { index, cycle.start, cycle.end, usage.calls, usage.seconds, usage.cost,
        m_parts.currencyText };
    if (source != m_cycleTextSource) {
        m_display.cycleText = spendingSummary(m_parts, index, cycle, usage, now.date()).cycle;
        m_cycleTextSource = source;
    }
    checkBudget(index, usage, cycle);
    const auto dataUsed = dataUsedOn(index, now.date());
    if (dataUsed)
        checkDataAllowance(index, cycle, *dataUsed);
    runAutoHangUp();
    checkNextUnit();

    m_display.shortLine.clear();
    if (m_autoHangUpAt.isValid()) {
        m_display.line = QStringLiteral("hang-up in %1 s - click to cancel").arg(m_display.hangUpCountdown);
        m_display.lineHint = QStringLiteral(" The budget is spent: click here to keep the call going");
    } else if (const auto next = secondsToNextUnit(call)) {
        const auto cheaper = cheaperForNewCall(now);
        m_display.line = nextUnitText(*next);
        m_display.lineHint = m_display.armed ? QStringLiteral(" Click to keep the call going into the next unit")
                                             : QStringLiteral(" Click to hang up just before the next unit is charged");
        if (m_display.armed)
            m_display.line += QStringLiteral(" - hang-up armed");
        // The line has room for a time of today; the hint tells the rest.
        else if (cheaper && cheaper->from.date() == now.date())
            m_display.line += QStringLiteral(", cheaper ") + cheaperWhenText(*cheaper, now);
        if (cheaper)
            m_display.lineHint += QStringLiteral("\n A new call would be cheaper: ")
                + cheaperStartText(m_parts.tariffs, *cheaper, now);
    } else if (call.Connected) {
        const auto cheaper = cheaperForNewCall(now);
        m_display.line = cheaper ? cheaperStartText(m_parts.tariffs, *cheaper, now) : QString();
        m_display.lineHint = cheaper && cheaper->from <= now
            ? QStringLiteral(" A new call started now would be cheaper")
            : QStringLiteral(" A new call started then would be cheaper");
    } else {
        m_display.line = m_idleLine.text(m_parts.tariffs, now);
        m_display.lineHint = QStringLiteral(" When calling becomes cheaper");
    }
    // A provider with a data plan shows its data instead; the time's line stays
    // in the hint, and whatever the hang-up needs keeps the line.
    if (dataUsed && !m_autoHangUpAt.isValid() && !m_display.armed) {
        const QString timeLine
            = m_display.line.isEmpty() ? QString() : QLatin1Char(' ') + m_display.line + QLatin1Char('\n');
        m_display.lineHint = dataLineHint(index, cycle, *dataUsed) + QLatin1Char('\n') + timeLine + m_display.lineHint;
        std::tie(m_display.line, m_display.shortLine) = dataLine(index, cycle, *dataUsed);
    }
}

std::pair<QString, QString> SpendingWatch::dataLine(int index, const BillingCycle &cycle, std::int64_t used) const
{
    const VolumePlan plan = m_parts.volumePlans.value(m_parts.providers.records[index].Name.text());
    const CurrentCall &call = m_parts.call;
    QString left = plan.allowanceBytes > 0 ? QStringLiteral("%1 left").arg(dataAmountText(allowanceLeft(plan, used)))
                                           : QStringLiteral("%1 used").arg(dataAmountText(used));
    if (call.Connected && call.CallProvider == index && !call.Volume.known())
        return { QStringLiteral("data not counted, %1").arg(left), {} };
    if (call.Connected && call.CallProvider == index) {
        const QString in = dataAmountText(call.Volume.bytesIn);
        const QString out = dataAmountText(call.Volume.bytesOut);
        // Arrows for received and sent, and a unit both share said once: the
        // call's figures in megabytes do not fit the main window in words.
        const QString unit = in.section(QLatin1Char(' '), -1);
        const QString inFigure = unit == out.section(QLatin1Char(' '), -1) ? in.section(QLatin1Char(' '), 0, -2) : in;
        return { QStringLiteral("%1 in, %2 out, %3").arg(in, out, left),
            QStringLiteral("\u2193%1 \u2191%2, %3").arg(inFigure, out, left) };
    }
    return { QStringLiteral("%1 to %2").arg(left, QLocale().toString(cycle.end, QStringLiteral("d MMM"))), {} };
}

QString SpendingWatch::dataLineHint(int index, const BillingCycle &cycle, std::int64_t used) const
{
    const VolumePlan plan = m_parts.volumePlans.value(m_parts.providers.records[index].Name.text());
    QString hint = plan.allowanceBytes > 0 ? QStringLiteral(" Data this billing month: %1 of %2")
                                                 .arg(dataAmountText(used), dataAmountText(plan.allowanceBytes))
                                           : QStringLiteral(" Data this billing month: %1").arg(dataAmountText(used));
    hint += QStringLiteral("; a new allowance on %1").arg(QLocale().toString(cycle.end, QStringLiteral("d MMM")));
    if (plan.priced())
        hint += QStringLiteral("\n Beyond it, %1 for each %2 begun")
                    .arg(moneyText(plan.blockPrice, m_parts.currencyText).trimmed(), dataAmountText(plan.blockBytes));
    return hint;
}

std::optional<CheaperStart> SpendingWatch::cheaperForNewCall(const QDateTime &now) const
{
    const CurrentCall &call = m_parts.call;
    if (call.CallTariff >= m_parts.tariffs.Count)
        return std::nullopt;
    const RateAt running { call.CallTariff, perMinuteRate(call.CurrentRate, call.UnitLength), call.Incremental };
    return ::cheaperForNewCall(m_parts.tariffs, now, running);
}

void SpendingWatch::checkBudget(int index, const CycleUsage &usage, const BillingCycle &cycle)
{
    const Provider &provider = m_parts.providers.records[index];
    SpendingPlan &plan = m_parts.plan;
    const auto found = plan.budgets.find(provider.Name.text());
    if (found == plan.budgets.end())
        return;
    ProviderBudget &budget = *found;
    const auto use = budgetUse(budget, provider.MonthlyHourLimit, usage);
    if (!use)
        return;
    const int before = budget.warnedLevels;
    const QDate beforeCycle = budget.warnedCycle;
    const int shownBefore = beforeCycle == cycle.start ? before : 0;
    const CurrentCall &call = m_parts.call;
    const bool ourCall = call.Connected && call.CallProvider == index;
    if (!ourCall || m_announcedCall != call.CallStart || beforeCycle != cycle.start) {
        m_announcedCall = ourCall ? call.CallStart : 0;
        m_announcedLevels = 0;
    }
    // A threshold told before the unit that reached it was charged is not told again.
    const int fresh = budgetLevelsAt(use->percent) & ~shownBefore;
    const auto level = fresh & ~m_announcedLevels ? std::optional(highestBudgetLevel(fresh)) : std::nullopt;
    markBudgetLevels(budget, cycle, use->percent);

    // A unit is charged whole: a threshold it would leap over is told before
    // it is charged, while the user can still hang up. It counts as given
    // only once reached, so a call ended before that unit leaves it to come.
    std::optional<BudgetUse> next;
    std::optional<int> nextLevel;
    const auto inSeconds = ourCall ? secondsToNextUnit(call) : std::nullopt;
    if (inSeconds) {
        CycleUsage after = usage;
        after.cost = addMoney(usage.cost, call.CurrentRate);
        next = budgetUse(budget, provider.MonthlyHourLimit, after);
        const int ahead = next ? budgetLevelsAt(next->percent) : 0;
        if (const int untold = ahead & ~budget.warnedLevels & ~m_announcedLevels) {
            nextLevel = highestBudgetLevel(untold);
            m_announcedLevels |= ahead;
        }
    }
    if (budget.warnedLevels != before || budget.warnedCycle != beforeCycle)
        m_parts.saveSpending();

    const QString name = provider.Name.text().trimmed();
    const QString &currency = m_parts.currencyText;
    QStringList parts;
    BudgetWarning warning { name, *use, level.value_or(0), std::nullopt, {} };
    if (level)
        parts.append(budgetReachedText(name, *use, currency));
    if (nextLevel) {
        warning = { name, *next, *nextLevel, inSeconds, {} };
        // Said shortly after the same budget's warning, so the message stays small.
        parts.append(level && next->kind == use->kind ? budgetAheadAfterText(*next, *inSeconds, currency)
                                                      : budgetAheadText(name, *next, *inSeconds, currency));
        if (*nextLevel == 100 && budget.autoHangUp && m_countedCall != call.CallStart) {
            if (call.DialledHere)
                parts.append(QStringLiteral("Then the call will be hung up after a %1-second countdown you can cancel.")
                                 .arg(kAutoHangUpSeconds));
            else
                hangUpRuledOut(parts, kBeforeNextUnit);
        }
    }
    // Every call that runs while the budget is spent gets its countdown, once.
    if (use->percent >= 100 && budget.autoHangUp && ourCall && m_countedCall != call.CallStart) {
        if (parts.isEmpty()) {
            warning = { name, *use, 100, std::nullopt, {} };
            parts.append(budgetReachedText(name, *use, currency));
        }
        startAutoHangUp(parts);
    }
    if (parts.isEmpty())
        return;
    warning.text = parts.join(QStringLiteral("\r\r"));
    m_parts.playWarningSound();
    emit budgetWarningDue(warning);
}

void SpendingWatch::checkDataAllowance(int index, const BillingCycle &cycle, std::int64_t used)
{
    const Provider &provider = m_parts.providers.records[index];
    const auto found = m_parts.volumePlans.find(provider.Name.text());
    if (found == m_parts.volumePlans.end() || found->allowanceBytes <= 0)
        return;
    VolumePlan &plan = *found;
    const BudgetUse use { BudgetKind::Data, int(std::min<__int128>(__int128(used) * 100 / plan.allowanceBytes, 100000)),
        used, plan.allowanceBytes };
    const int shownBefore = plan.warnedCycle == cycle.start ? plan.warnedLevels : 0;
    const int fresh = budgetLevelsAt(use.percent) & ~shownBefore;
    if (fresh != 0 || plan.warnedCycle != cycle.start) {
        plan.warnedCycle = cycle.start;
        plan.warnedLevels = shownBefore | budgetLevelsAt(use.percent);
        m_parts.saveVolumePlans();
    }
    const CurrentCall &call = m_parts.call;
    const bool ourCall = call.Connected && call.CallProvider == index;
    const bool hangUp = use.percent >= 100 && ourCall && m_countedCall != call.CallStart
        && m_parts.plan.budgets.value(provider.Name.text()).autoHangUp;
    if (fresh == 0 && !hangUp)
        return;
    const QString name = provider.Name.text().trimmed();
    QStringList parts { budgetReachedText(name, use, m_parts.currencyText) };
    if (hangUp)
        startAutoHangUp(parts);
    BudgetWarning warning { name, use, fresh != 0 ? highestBudgetLevel(fresh) : 100, std::nullopt, {} };
    warning.text = parts.join(QStringLiteral("\r\r"));
    m_parts.playWarningSound();
    emit budgetWarningDue(warning);
}

void SpendingWatch::startAutoHangUp(QStringList &parts)
{
    const CurrentCall &call = m_parts.call;
    if (!call.DialledHere) {
        hangUpRuledOut(parts, QString());
        return;
    }
    m_countedCall = call.CallStart;
    m_autoHangUpAt = m_clock.now().addSecs(kAutoHangUpSeconds);
    parts.append(QStringLiteral("The call will be hung up in %1 seconds; click the countdown beside the "
                                "tariff to keep it going.")
                     .arg(kAutoHangUpSeconds));
}

void SpendingWatch::hangUpRuledOut(QStringList &parts, const QString &when)
{
    m_countedCall = m_parts.call.CallStart;
    parts.append(kOtherProgramsCall.arg(when));
}

void SpendingWatch::runAutoHangUp()
{
    if (!m_autoHangUpAt.isValid())
        return;
    if (!m_parts.call.Connected) {
        cancelAutoHangUp();
        return;
    }
    m_display.hangUpCountdown = int(std::max<qint64>(0, m_clock.now().secsTo(m_autoHangUpAt)));
    if (m_display.hangUpCountdown > 0)
        return;
    cancelAutoHangUp();
    requestHangUp(QStringLiteral(" when the budget is spent"));
}

void SpendingWatch::cancelAutoHangUp()
{
    m_autoHangUpAt = {};
    m_display.hangUpCountdown = -1;
}

void SpendingWatch::toggleArmed()
{
    const CurrentCall &call = m_parts.call;
    if (m_autoHangUpAt.isValid()) {
        cancelAutoHangUp();
    } else if (call.Connected && !call.DialledHere && !m_display.armed) {
        emit warningDue(kOtherProgramsCall.arg(kBeforeNextUnit));
    } else {
        m_display.armed = !m_display.armed && call.Connected;
    }
    update();
}

void SpendingWatch::checkNextUnit()
{
    const CurrentCall &call = m_parts.call;
    if (!call.Connected) {
        m_display.armed = false;
        return;
    }
    const auto next = secondsToNextUnit(call);
    if (!m_display.armed || !next || *next > m_parts.plan.hangUpMarginSeconds)
        return;
    m_display.armed = false;
    requestHangUp(kBeforeNextUnit);
}

void SpendingWatch::requestHangUp(const QString &otherProgramText)
{
    if (m_parts.call.DialledHere)
        emit hangUpRequested();
    else
        emit warningDue(kOtherProgramsCall.arg(otherProgramText));
}
