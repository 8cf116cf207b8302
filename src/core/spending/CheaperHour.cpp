#include "core/spending/CheaperHour.h"

#include "core/pricing/CurrentCostRate.h"
#include "core/pricing/RateCaption.h"
#include "core/pricing/TariffSelection.h"
#include "core/store/CurrentCall.h"
#include "core/store/Money.h"

#include <QLocale>

#include <algorithm>
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
