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

QString cheaperStartText(const TariffTable &table, const CheaperStart &start, const QDateTime &now)
{
    const QLocale locale;
    const QString when = start.from.date() == now.date() ? start.from.toString(QStringLiteral("HH:mm"))
                                                         : locale.toString(start.from, QStringLiteral("ddd HH:mm"));
    return QStringLiteral("%1 from %2: %3%4")
        .arg(table.records[start.rate.tariff].Name.text(), when, amountText(start.rate.perMinute).trimmed(),
            start.rate.incremental ? QStringLiteral(" p.min") : QStringLiteral(" p.call"));
}
