#include "core/calllog/CallLogCells.h"

#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/tariffs/TariffIds.h"

namespace {

constexpr int kCostWidth = 12;

QString tariffText(std::uint8_t id, const TariffTable &tariffs)
{
    const int index = TariffDBFind(tariffs, id);
    if (index == kNoTariffWithId)
        return QString::number(id) + QStringLiteral(" ?");
    return tariffs.records[index].Name.text();
}

} // namespace

QString callLogHeaderText(int column, const QString &currencyText)
{
    switch (column) {
    case 0:
        return QStringLiteral("Started");
    case 1:
        return QStringLiteral("date");
    case 2:
        return QStringLiteral("Ended");
    case 3:
        return QStringLiteral("date");
    case 4:
        return QStringLiteral("Duration");
    case 5:
        return QStringLiteral("Tariff");
    case kCostColumn:
        return currencyText + QStringLiteral("Cost");
    case 7:
        return QStringLiteral("Connection");
    default:
        return {};
    }
}

QString callLogCellText(const CallRecord &call, int column, const ProviderTable &providers, const TariffTable &tariffs,
    const QLocale &locale)
{
    switch (column) {
    case 0:
        return CallTimeText(call.StartHour, call.StartMinute, call.StartSecond);
    case 1:
        return CallDateText(call.StartDay, call.StartMonth, call.StartYear);
    case 2:
        return CallTimeText(call.EndHour, call.EndMinute, call.EndSecond);
    case 3:
        return CallDateText(call.EndDay, call.EndMonth, call.EndYear);
    case 4:
        return LongDurationText(std::int32_t(std::min<std::uint32_t>(call.DurationSeconds, 2147483647U)));
    case 5:
        return tariffText(call.TariffId, tariffs);
    case kCostColumn:
        return fixedAmountText(call.Cost, kCostWidth, locale);
    case 7:
        return call.ProviderIndex < kMaxProviders ? providers.records[call.ProviderIndex].Name.text() : QString();
    default:
        return {};
    }
}
