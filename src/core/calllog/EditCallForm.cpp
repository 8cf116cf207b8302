#include "core/calllog/EditCallForm.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"
#include "core/tariffs/TariffEditorTexts.h"

#include <QDateTime>
#include <QTime>

namespace {

// "hh:mm:ss" with every field a number in range, or nothing.
std::optional<QTime> timeOfDay(const QString &text)
{
    if (text.size() != 8 || text.at(2) != QLatin1Char(':') || text.at(5) != QLatin1Char(':'))
        return std::nullopt;
    int fields[3] = {};
    for (int f = 0; f < 3; ++f) {
        const QString digits = text.mid(f * 3, 2);
        if (!digits.at(0).isDigit() || !digits.at(1).isDigit())
            return std::nullopt;
        fields[f] = digits.toInt();
    }
    if (fields[0] > 23 || fields[1] > 59 || fields[2] > 59)
        return std::nullopt;
    return QTime(fields[0], fields[1], fields[2]);
}

void storeDate(const QDate &date, std::uint8_t &day, std::uint8_t &month, std::uint8_t &year)
{
    day = std::uint8_t(date.day());
    month = std::uint8_t(date.month());
    year = std::uint8_t(date.year() % 100);
}

void storeTime(const QTime &time, std::uint8_t &hour, std::uint8_t &minute, std::uint8_t &second)
{
    hour = std::uint8_t(time.hour());
    minute = std::uint8_t(time.minute());
    second = std::uint8_t(time.second());
}

std::optional<QDate> realDate(std::uint8_t day, std::uint8_t month, std::uint8_t year, const QDate &today)
{
    const QDate date = dateFromTwoDigitYear(day, month, year, today);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

} // namespace

EditCallFields editCallFields(
    const CallRecord &call, const ProviderTable &providers, const QDate &today, const QLocale &locale)
{
    EditCallFields fields;
    if (call.ProviderIndex < kMaxProviders)
        fields.connection = QLatin1Char(' ') + providers.records[call.ProviderIndex].Name.text();
    fields.startTime = CallTimeText(call.StartHour, call.StartMinute, call.StartSecond);
    fields.startDate = realDate(call.StartDay, call.StartMonth, call.StartYear, today);
    fields.startDateText = CallDateText(call.StartDay, call.StartMonth, call.StartYear);
    fields.endTime = CallTimeText(call.EndHour, call.EndMinute, call.EndSecond);
    fields.endDate = realDate(call.EndDay, call.EndMonth, call.EndYear, today);
    fields.endDateText = CallDateText(call.EndDay, call.EndMonth, call.EndYear);
    fields.duration = LongDurationText(std::int32_t(std::min<std::uint32_t>(call.DurationSeconds, 2147483647U)));
    fields.cost = moneyFieldText(call.Cost, locale);
    return fields;
}

std::expected<void, EditCallError> saveEditCall(CallRecord &call, const EditCallFields &fields, const QLocale &locale)
{
    const std::optional<QTime> start = timeOfDay(fields.startTime);
    if (!start)
        return std::unexpected(EditCallError::StartTime);
    const std::optional<QTime> end = timeOfDay(fields.endTime);
    if (!end)
        return std::unexpected(EditCallError::EndTime);
    if (fields.startDate && fields.endDate && QDateTime(*fields.endDate, *end) < QDateTime(*fields.startDate, *start))
        return std::unexpected(EditCallError::EndBeforeStart);
    // A cost left as it was shown keeps the stored amount to the last 1/10000.
    const auto cost = fields.cost == moneyFieldText(call.Cost, locale)
        ? std::expected<MoneyValue, MoneyParseError>(call.Cost)
        : parseMoney(fields.cost, locale);
    if (!cost)
        return std::unexpected(EditCallError::Cost);

    if (fields.startDate)
        storeDate(*fields.startDate, call.StartDay, call.StartMonth, call.StartYear);
    storeTime(*start, call.StartHour, call.StartMinute, call.StartSecond);
    if (fields.endDate)
        storeDate(*fields.endDate, call.EndDay, call.EndMonth, call.EndYear);
    storeTime(*end, call.EndHour, call.EndMinute, call.EndSecond);
    call.DurationSeconds = std::uint32_t(std::max(0, ParseLongDuration(fields.duration)));
    call.Cost = *cost;
    return {};
}

QString editCallMessage(EditCallError error)
{
    switch (error) {
    case EditCallError::StartTime:
        return QStringLiteral("The start time must be a time of day, from 00:00:00 to 23:59:59.");
    case EditCallError::EndTime:
        return QStringLiteral("The end time must be a time of day, from 00:00:00 to 23:59:59.");
    case EditCallError::EndBeforeStart:
        return QStringLiteral("The call cannot end before it starts.\rPlease check the start and end times and "
                              "dates.");
    case EditCallError::Cost:
        return QStringLiteral("The cost must be an amount of money, for example 1.50.");
    }
    return {};
}
