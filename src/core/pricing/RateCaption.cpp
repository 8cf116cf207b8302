#include "core/pricing/RateCaption.h"

#include "core/store/Money.h"

MoneyValue perMinuteRate(MoneyValue unitCost, std::int32_t unitLength)
{
    return scaleMoney(unitCost, 60, unitLength > 0 ? unitLength : 1);
}

RateCaption rateCaption(
    const TariffTable &table, const CurrentCall &call, const QString &currencyText, const QLocale &locale)
{
    if (call.CallTariff >= table.Count)
        return { QStringLiteral("Please Add Tarifs"), std::nullopt };
    const QString name = table.records[call.CallTariff].Name.text();
    const MoneyValue perMinute = perMinuteRate(call.CurrentRate, call.UnitLength);
    RateCaption result;
    result.caption = name + QLatin1Char(' ') + amountText(perMinute, locale).trimmed()
        + (call.Incremental ? QStringLiteral(" p.min") : QStringLiteral(" p.call"));
    result.hint = name + QLatin1Char(' ') + moneyText(perMinute, currencyText, locale)
        + (call.Incremental ? QStringLiteral(" per minute") : QStringLiteral(" per call"));
    return result;
}
