#include "core/calllog/CallStatistics.h"

#include "core/store/Money.h"
#include "core/store/TextHelpers.h"

#include <algorithm>
#include <limits>

namespace {

QString durationText(std::int64_t seconds)
{
    return LongDurationText(
        std::int32_t(std::clamp<std::int64_t>(seconds, 0, std::numeric_limits<std::int32_t>::max())));
}

// sum / n to the nearest whole number, halves to even; n > 0, sum >= 0.
std::int64_t roundedMean(std::int64_t sum, std::int64_t n)
{
    const std::int64_t quotient = sum / n;
    const std::int64_t twiceRest = (sum % n) * 2;
    if (twiceRest > n || (twiceRest == n && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

} // namespace

CallStatistics callStatistics(const CallLogTable &log, const QList<int> &rows, const QDate &today)
{
    return callStatistics(std::span<const CallRecord>(log.records), rows, today);
}

CallStatistics callStatistics(std::span<const CallRecord> calls, const QList<int> &rows, const QDate &today)
{
    CallStatistics s;
    const int day = today.day();
    const int month = today.month();
    const int year = today.year() % 100;
    for (const int index : rows) {
        const CallRecord &call = calls[std::size_t(index)];
        const std::int64_t seconds = call.DurationSeconds;
        ++s.calls;
        s.costSum = addMoney(s.costSum, call.Cost);
        s.secondsSum += seconds;
        s.longest = std::max(s.longest, seconds);
        s.shortest = std::min(s.shortest, seconds);
        // Same as comparing the call's date text with today's.
        if (call.StartDay == day && call.StartMonth == month && call.StartYear == year)
            ++s.callsToday;
    }
    return s;
}

const std::array<QString, kStatisticCount> &statisticCaptions()
{
    static const std::array<QString, kStatisticCount> captions {
        QStringLiteral("Avg Cost"),
        QStringLiteral("Avg Call"),
        QStringLiteral("Longest"),
        QStringLiteral("Shortest"),
        QStringLiteral("Calls today"),
        QStringLiteral("Total time"),
        QStringLiteral("Total items"),
        QStringLiteral("Total Cost"),
    };
    return captions;
}

const std::array<QString, kStatisticCount> &statisticResetTexts()
{
    static const std::array<QString, kStatisticCount> texts {
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        QStringLiteral("0.00"),
        QStringLiteral("0"),
        QStringLiteral("0"),
    };
    return texts;
}

std::array<QString, kStatisticCount> statisticValueTexts(
    const CallStatistics &s, const QString &currencyText, const QLocale &locale)
{
    if (s.calls <= 0)
        return statisticResetTexts();
    return {
        moneyText(scaleMoney(s.costSum, 1, s.calls), currencyText, locale),
        durationText(roundedMean(s.secondsSum, s.calls)),
        durationText(s.longest),
        durationText(s.shortest),
        QString::number(s.callsToday),
        durationText(s.secondsSum),
        QString::number(s.calls),
        moneyText(s.costSum, currencyText, locale),
    };
}
