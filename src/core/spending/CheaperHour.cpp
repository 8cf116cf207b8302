#include "core/spending/CheaperHour.h"

#include "core/pricing/CurrentCostRate.h"
#include "core/pricing/RateCaption.h"
#include "core/pricing/TariffSelection.h"
#include "core/store/CurrentCall.h"
#include "core/store/Money.h"

#include <QLocale>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kSecondsPerDay = 86400;

// Seconds of the day at which the tariff in force may change.
std::vector<int> changeSeconds(const TariffTable &table)
{
    std::vector<int> seconds { 0 };
    const int count = std::min<int>(table.Count, kMaxTariffs);
    for (int i = 0; i < count; ++i) {
        const Tariff &tariff = table.records[i];
        if (tariff.StartTime > 0 && tariff.StartTime < kSecondsPerDay)
            seconds.push_back(tariff.StartTime);
        if (tariff.FinishTime >= 0 && tariff.FinishTime + 1 < kSecondsPerDay)
            seconds.push_back(tariff.FinishTime + 1);
    }
    std::ranges::sort(seconds);
    seconds.erase(std::unique(seconds.begin(), seconds.end()), seconds.end());
    return seconds;
}

bool cheaper(const RateAt &candidate, const RateAt &current)
{
    return candidate.incremental == current.incremental && candidate.perMinute < current.perMinute;
}

} // namespace

std::optional<RateAt> rateAt(const TariffTable &table, const QDateTime &moment)
{
    if (SelectTariffAt(table, moment) == kNoTariff)
        return std::nullopt;
    CurrentCall call;
    SetCurrentCostRate(table, call, moment);
    return RateAt { call.CallTariff, perMinuteRate(call.CurrentRate, call.UnitLength), call.Incremental };
}

std::optional<CheaperStart> nextCheaperStart(const TariffTable &table, const QDateTime &now)
{
    const auto current = rateAt(table, now);
    return current ? nextCheaperStart(table, now, *current) : std::nullopt;
}

std::optional<CheaperStart> nextCheaperStart(const TariffTable &table, const QDateTime &now, const RateAt &reference)
{
    const std::vector<int> seconds = changeSeconds(table);
    const QDateTime last = now.addDays(kCheaperLookAheadDays);
    for (QDate day = now.date(); day <= last.date(); day = day.addDays(1)) {
        for (const int second : seconds) {
            const QDateTime moment(day, QTime(0, 0).addSecs(second));
            if (moment <= now || moment > last)
                continue;
            if (const auto rate = rateAt(table, moment); rate && cheaper(*rate, reference))
                return CheaperStart { moment, *rate };
        }
    }
    return std::nullopt;
}

std::optional<CheaperStart> cheaperForNewCall(const TariffTable &table, const QDateTime &now, const RateAt &reference)
{
    if (const auto rate = rateAt(table, now); rate && cheaper(*rate, reference))
        return CheaperStart { now, *rate };
    return nextCheaperStart(table, now, reference);
}

QString cheaperWhenText(const CheaperStart &start, const QDateTime &now)
{
    if (start.from <= now)
        return QStringLiteral("now");
    const qint64 days = now.date().daysTo(start.from.date());
    if (days == 0)
        return start.from.toString(QStringLiteral("HH:mm"));
    // A weekday alone a week or more ahead reads as the one just gone.
    return QLocale().toString(start.from, days < 7 ? QStringLiteral("ddd HH:mm") : QStringLiteral("ddd d MMM HH:mm"));
}

QString cheaperStartText(const TariffTable &table, const CheaperStart &start, const QDateTime &now)
{
    const QString when = cheaperWhenText(start, now);
    return QStringLiteral("%1 %2: %3%4")
        .arg(table.records[start.rate.tariff].Name.text(), start.from <= now ? when : QStringLiteral("from ") + when,
            amountText(start.rate.perMinute).trimmed(),
            start.rate.incremental ? QStringLiteral(" p.min") : QStringLiteral(" p.call"));
}

const QString &CheaperStartLine::text(const TariffTable &table, const QDateTime &now)
{
    // Read as the tariffs read it: the wall clock's date and whole second.
    const QDate day = now.date();
    const QTime time = now.time();
    const int second = time.msecsSinceStartOfDay() / 1000;
    const int inForce = SelectTariffAt(table, tariffMomentOf(day, time));
    if (holds(table, day, second, inForce))
        return m_text;
    const auto cheaper = nextCheaperStart(table, now);
    m_text = cheaper ? cheaperStartText(table, *cheaper, now) : QString();
    const int count = std::min<int>(table.Count, kMaxTariffs);
    m_tariffs.assign(table.records, table.records + count);
    m_day = day;
    m_fromSecond = second;
    const std::vector<int> seconds = changeSeconds(table);
    const auto next = std::ranges::upper_bound(seconds, second);
    m_untilSecond = next == seconds.end() ? kSecondsPerDay : *next;
    m_inForce = inForce;
    return m_text;
}

bool CheaperStartLine::holds(const TariffTable &table, const QDate &day, int second, int inForce) const
{
    // The seconds of a day the text holds over: a wall clock put back, or
    // moved back an hour in autumn, is looked at afresh.
    if (day != m_day || second < m_fromSecond || second >= m_untilSecond || inForce != m_inForce)
        return false;
    // Slots past the count are not read; an edited or reloaded table differs somewhere in these.
    const int count = std::min<int>(table.Count, kMaxTariffs);
    // An empty table has no records to compare (and memcmp must not be handed a null pointer).
    return std::size_t(count) == m_tariffs.size()
        && (m_tariffs.empty() || std::memcmp(table.records, m_tariffs.data(), m_tariffs.size() * sizeof(Tariff)) == 0);
}
