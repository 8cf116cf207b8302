#include "core/providers/ProviderAccount.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"

#include <algorithm>
#include <limits>

namespace {

bool inRange(int twoDigitYear, int month)
{
    return twoDigitYear >= 0 && twoDigitYear < MonthlyUsage::kYears && month >= 1 && month <= MonthlyUsage::kMonths;
}

std::size_t slot(int twoDigitYear, int month) { return std::size_t(twoDigitYear * MonthlyUsage::kMonths + month - 1); }

MoneyValue saturatingAdd(MoneyValue a, MoneyValue b)
{
    MoneyValue sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<MoneyValue>::max() : std::numeric_limits<MoneyValue>::min();
    return sum;
}

} // namespace

std::uint64_t MonthlyUsage::seconds(int twoDigitYear, int month) const
{
    return inRange(twoDigitYear, month) ? m_seconds[slot(twoDigitYear, month)] : 0;
}

void MonthlyUsage::add(int twoDigitYear, int month, std::uint64_t seconds)
{
    if (inRange(twoDigitYear, month))
        m_seconds[slot(twoDigitYear, month)] += seconds;
}

MonthlyUsage GetTotalDurationForProviderMonth(
    const CallLogTable &log, int providerIndex, std::span<const CallRecord> archived)
{
    MonthlyUsage usage;
    for (const CallRecord &call : archived)
        if (isLoggedCall(call) && call.ProviderIndex == providerIndex)
            usage.add(call.StartYear, call.StartMonth, call.DurationSeconds);
    const int count = std::clamp(log.Count, 0, kMaxLogRecords);
    for (int i = 0; i < count; ++i) {
        const CallRecord &call = log.records[i];
        if (isLoggedCall(call) && call.ProviderIndex == providerIndex)
            usage.add(call.StartYear, call.StartMonth, call.DurationSeconds);
    }
    return usage;
}

QDate accountStartDate(DateTimeValue startedOn)
{
    if (startedOn == 0)
        return {};
    return dateOfValue(startedOn);
}

AccountTerms accountTermsOf(const Provider &provider)
{
    return { accountStartDate(provider.StartedOn), provider.MonthlyFee, provider.MonthlyHourLimit,
        provider.ExtraPerHour };
}

MoneyValue CalcTodateProviderCost(const AccountTerms &terms, const MonthlyUsage &usage, const QDateTime &now)
{
    if (!terms.startedOn.isValid() || !(now > QDateTime(terms.startedOn, QTime(0, 0))))
        return 0;
    const qint64 periods = terms.startedOn.daysTo(now.date()) / 30;
    MoneyValue charges = scaleMoney(terms.monthlyFee, periods, 1);
    if (terms.monthlyHourLimit > 0) {
        const auto limit = std::uint64_t(terms.monthlyHourLimit);
        for (int year = 0; year < MonthlyUsage::kYears; ++year) {
            for (int month = 1; month <= MonthlyUsage::kMonths; ++month) {
                const std::uint64_t hours = usage.seconds(year, month) / 3600;
                if (hours > limit)
                    charges = saturatingAdd(charges, scaleMoney(terms.extraPerHour, std::int64_t(hours - limit), 1));
            }
        }
    }
    return charges;
}
