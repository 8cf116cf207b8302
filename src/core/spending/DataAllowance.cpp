#include "core/spending/DataAllowance.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/volume/VolumePricing.h"

#include <QDateTime>

#include <algorithm>
#include <numeric>

QString dataAmountText(std::int64_t bytes)
{
    bytes = std::max<std::int64_t>(bytes, 0);
    const QLocale locale;
    if (bytes < VolumePlan::kMegabyte)
        return QStringLiteral("%1 KB").arg(locale.toString((bytes + 999) / 1000));
    if (bytes < VolumePlan::kGigabyte)
        return QStringLiteral("%1 MB").arg(locale.toString(double(bytes) / double(VolumePlan::kMegabyte), 'f', 1));
    return QStringLiteral("%1 GB").arg(locale.toString(double(bytes) / double(VolumePlan::kGigabyte), 'f', 2));
}

std::int64_t bytesWithin(const CallRecord &record, std::int64_t bytes, const BillingCycle &cycle, const QDate &today)
{
    const QDate day = dateFromTwoDigitYear(record.StartDay, record.StartMonth, record.StartYear, today);
    if (!day.isValid())
        return 0;
    const QDateTime start(day, QTime(record.StartHour, record.StartMinute, record.StartSecond));
    const std::int64_t seconds = record.DurationSeconds;
    const QDateTime end = start.addSecs(seconds);
    const QDateTime from(cycle.start, QTime(0, 0));
    const QDateTime to(cycle.end, QTime(0, 0));
    if (seconds == 0 || (start >= from && end <= to))
        return cycle.contains(day) ? bytes : 0;
    const std::int64_t inside
        = std::max<std::int64_t>(0, std::min(end, to).toSecsSinceEpoch() - std::max(start, from).toSecsSinceEpoch());
    // 128-bit: bytes times seconds can pass 2^63 for the largest values a file holds.
    return std::int64_t(__int128(bytes) * inside / seconds);
}

std::int64_t loggedCycleBytes(const VolumePlan &plan, int providerIndex, const BillingCycle &cycle, const QDate &today,
    const CallLogTable &log, std::span<const CallVolume> volumes, std::span<const CallRecord> archived,
    std::span<const CallVolume> archivedVolumes)
{
    std::int64_t used = 0;
    const auto add = [&](const CallRecord &record, const CallVolume &volume) {
        if (!isLoggedCall(record) || record.ProviderIndex != providerIndex || !volume.known())
            return;
        used += bytesWithin(record, countedBytes(plan, volume.bytesIn, volume.bytesOut), cycle, today);
    };
    for (std::size_t i = 0; i < std::min(archived.size(), archivedVolumes.size()); ++i)
        add(archived[i], archivedVolumes[i]);
    const auto count = std::size_t(std::clamp(log.Count, 0, kMaxLogRecords));
    for (std::size_t i = 0; i < std::min(count, volumes.size()); ++i)
        add(log.records[i], volumes[i]);
    return used;
}

RunningDataCharge::RunningDataCharge(const SpendingParts &spending, Clock &clock)
    : m_spending(spending)
    , m_clock(clock)
{
}

void RunningDataCharge::beginCall(const CurrentCall &call, const VolumePlan &plan, const QDate &today)
{
    const Provider &provider = m_spending.providers.records[call.CallProvider];
    m_callStart = call.CallStart;
    m_provider = call.CallProvider;
    m_cycle = billingCycleOn(dateOfValue(call.CallStart), provider.MonthStartDay);
    m_usedBefore = loggedCycleBytes(plan, m_provider, m_cycle, today, m_spending.log, m_spending.volumes.records,
        m_spending.archivedCalls(), m_spending.archivedVolumes());
    m_parts = { 0 };
    m_charged = 0;
}

void RunningDataCharge::onVolume(CurrentCall &call)
{
    if (call.CallProvider >= kMaxProviders)
        return;
    Provider &provider = m_spending.providers.records[call.CallProvider];
    const auto found = m_spending.volumePlans.constFind(provider.Name.text());
    const QDate today = m_clock.now().date();
    if (found == m_spending.volumePlans.constEnd() || found->none()) {
        m_callStart = -1;
        m_charged = 0;
        return;
    }
    const VolumePlan &plan = *found;
    if (m_callStart != call.CallStart || m_provider != call.CallProvider)
        beginCall(call, plan, today);
    const std::int64_t counted = countedBytes(plan, call.Volume.bytesIn, call.Volume.bytesOut);
    // The bytes read in a later cycle than the last reading begin a fresh allowance.
    if (today >= m_cycle.end) {
        m_cycle = billingCycleOn(today, provider.MonthStartDay);
        m_parts.push_back(0);
    }
    const std::int64_t earlier = std::accumulate(m_parts.begin(), m_parts.end() - 1, std::int64_t(0));
    m_parts.back() = std::max<std::int64_t>(counted - earlier, 0);
    const MoneyValue charged = callVolumeCost(plan, m_usedBefore, m_parts);
    const MoneyValue added = charged - m_charged;
    m_charged = charged;
    if (added == 0)
        return;
    call.CallCost = addMoney(call.CallCost, added);
    // A new day's counters are started by the call's next second.
    if (dateOfValue(provider.TodayDate) == today)
        provider.TodayCost = addMoney(provider.TodayCost, added);
    provider.MonthCost = addMoney(provider.MonthCost, added);
    provider.TotalCost = addMoney(provider.TotalCost, added);
}

std::int64_t RunningDataCharge::runningBytesIn(int providerIndex, const BillingCycle &cycle) const
{
    const CurrentCall &call = m_spending.call;
    if (!call.Connected || m_callStart != call.CallStart || m_provider != providerIndex || m_parts.empty())
        return 0;
    if (cycle.start == m_cycle.start)
        return m_parts.back();
    return 0;
}
