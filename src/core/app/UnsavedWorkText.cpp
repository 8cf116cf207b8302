#include "core/app/UnsavedWorkText.h"

#include "core/store/Money.h"
#include "core/store/TextHelpers.h"

#include <QStringList>

QString unsavedWorkText(const UnsavedWork &work, const ProviderTable &providers, const QString &currencyText)
{
    QStringList lines;
    for (const CallRecord &call : work.calls) {
        const QString provider = call.ProviderIndex < std::min<int>(providers.Count, kMaxProviders)
            ? providers.records[call.ProviderIndex].Name.text()
            : QStringLiteral("no provider");
        lines.append(QStringLiteral("the call on %1 of %2 %3 (%4, %5)")
                         .arg(provider, CallDateText(call.StartDay, call.StartMonth, call.StartYear),
                             CallTimeText(call.StartHour, call.StartMinute, call.StartSecond),
                             ShortDurationText(std::int32_t(std::min<std::uint32_t>(call.DurationSeconds, 0x7FFFFFFF))),
                             moneyText(call.Cost, currencyText)));
    }
    if (work.log)
        lines.append(QStringLiteral("your changes to the call log"));
    if (work.tariffs)
        lines.append(QStringLiteral("your changes to the tariffs"));
    if (work.providers)
        lines.append(QStringLiteral("the providers' accounts and new phonebook entries as they are now"));
    if (work.settings)
        lines.append(QStringLiteral("your settings and the places of the windows"));
    if (work.budgets)
        lines.append(QStringLiteral("your budgets and the warnings already given"));
    return lines.join(QLatin1Char('\r'));
}
