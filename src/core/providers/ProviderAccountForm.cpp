#include "core/providers/ProviderAccountForm.h"

#include "core/store/DateTimeValue.h"
#include "core/store/Money.h"
#include "core/store/TextHelpers.h"

#include <QStringList>

#include <limits>
#include <optional>

namespace {

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// A date field holding nothing but its separators and blanks.
bool isBlankDate(const QString &text)
{
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('/') && c != QLatin1Char('_'))
            return false;
    }
    return true;
}

// Reads fields in any order and keeps the problem of the field shown first;
// a wrong field reads as its stored value.
class FieldReader {
public:
    FieldReader(const QDate &today, const QLocale &locale)
        : m_today(today)
        , m_locale(locale)
    {
    }

    const std::optional<AccountFieldError> &error() const { return m_error; }

    std::uint32_t duration(AccountField field, const QString &text, const QString &shown, std::uint32_t stored)
    {
        if (text == shown)
            return stored;
        const QStringList parts = text.trimmed().split(QLatin1Char(':'));
        if (parts.size() != 3 || !allDigits(parts[0]) || !allDigits(parts[1]) || !allDigits(parts[2])
            || parts[1].size() > 2 || parts[2].size() > 2)
            return fail(field, FieldProblem::NotADuration, text, stored);
        const int minutes = parts[1].toInt();
        const int seconds = parts[2].toInt();
        if (minutes > 59 || seconds > 59)
            return fail(field, FieldProblem::NotADuration, text, stored);
        bool ok = false;
        const qint64 hours = parts[0].toLongLong(&ok);
        // The record's counters hold unsigned 32-bit seconds.
        constexpr qint64 kMaxSeconds = std::numeric_limits<std::uint32_t>::max();
        if (!ok || hours > kMaxSeconds / 3600)
            return fail(field, FieldProblem::DurationTooLong, text, stored);
        const qint64 total = hours * 3600 + minutes * 60 + seconds;
        if (total > kMaxSeconds)
            return fail(field, FieldProblem::DurationTooLong, text, stored);
        return std::uint32_t(total);
    }

    MoneyValue amount(AccountField field, const QString &text, const QString &shown, MoneyValue stored)
    {
        if (text == shown)
            return stored;
        const auto value = parseMoney(text, m_locale);
        if (!value) {
            const FieldProblem problem
                = value.error() == MoneyParseError::TooLarge ? FieldProblem::AmountTooLarge : FieldProblem::NotAnAmount;
            return fail(field, problem, text, stored);
        }
        if (*value < 0)
            return fail(field, FieldProblem::NegativeAmount, text, stored);
        return *value;
    }

    std::uint16_t calls(AccountField field, const QString &text, const QString &shown, std::uint16_t stored)
    {
        if (text == shown)
            return stored;
        const QString number = text.trimmed();
        if (!allDigits(number))
            return fail(field, FieldProblem::NotAWholeNumber, text, stored);
        bool ok = false;
        const int value = number.toInt(&ok);
        if (!ok || value > AccountFieldLimits::kMaxCalls)
            return fail(field, FieldProblem::OutOfRange, text, stored);
        return std::uint16_t(value);
    }

    template <typename T> T whole(AccountField field, int value, int shown, int low, int high, T stored)
    {
        if (value == shown)
            return stored;
        if (value < low || value > high)
            return fail(field, FieldProblem::OutOfRange, QString::number(value), stored);
        return T(value);
    }

    DateTimeValue date(AccountField field, const QString &text, const QString &shown, DateTimeValue stored)
    {
        if (text == shown)
            return stored;
        if (isBlankDate(text))
            return 0;
        const QDate date = parseShortDate(text, m_today);
        if (!date.isValid())
            return fail(field, FieldProblem::NotADate, text, stored);
        return toDateTimeValue(date);
    }

private:
    template <typename T> T fail(AccountField field, FieldProblem problem, const QString &text, T stored)
    {
        if (!m_error || field < m_error->field)
            m_error = AccountFieldError { field, problem, text };
        return stored;
    }

    QDate m_today;
    QLocale m_locale;
    std::optional<AccountFieldError> m_error;
};

// The fields the charges depend on, read over `out`.
void readTermFields(FieldReader &read, const AccountForm &form, const AccountForm &shown, Provider &out)
{
    out.StartedOn = read.date(AccountField::StartedOn, form.startedOn, shown.startedOn, out.StartedOn);
    out.MonthlyFee = read.amount(AccountField::MonthlyFee, form.monthlyFee, shown.monthlyFee, out.MonthlyFee);
    out.MonthlyHourLimit = read.whole(AccountField::MonthlyHourLimit, form.monthlyHourLimit, shown.monthlyHourLimit, 0,
        AccountFieldLimits::kMaxHourLimit, out.MonthlyHourLimit);
    out.ExtraPerHour = read.amount(AccountField::ExtraPerHour, form.extraPerHour, shown.extraPerHour, out.ExtraPerHour);
}

} // namespace

AccountForm accountFormOf(const Provider &provider, const QLocale &locale)
{
    const QDate started = accountStartDate(provider.StartedOn);
    AccountForm form;
    form.todayDuration = LongDurationText(provider.TodaySeconds);
    form.todayCost = amountText(provider.TodayCost, locale);
    form.todayCalls = QString::number(provider.TodayCalls);
    form.monthDuration = LongDurationText(provider.MonthSeconds);
    form.monthCost = amountText(provider.MonthCost, locale);
    form.monthCalls = QString::number(provider.MonthCalls);
    form.totalDuration = LongDurationText(provider.TotalSeconds);
    form.totalCost = amountText(provider.TotalCost, locale);
    form.totalCalls = QString::number(provider.TotalCalls);
    form.startedOn = started.isValid() ? shortDateText(started) : QString();
    form.monthlyFee = amountText(provider.MonthlyFee, locale);
    form.monthStartDay = provider.MonthStartDay;
    form.monthlyHourLimit = provider.MonthlyHourLimit;
    form.extraPerHour = amountText(provider.ExtraPerHour, locale);
    return form;
}

std::expected<Provider, AccountFieldError> readAccountForm(const AccountForm &form, const AccountForm &loaded,
    const Provider &stored, const QDate &today, const QLocale &locale)
{
    FieldReader read(today, locale);
    Provider out = stored;
    out.TodaySeconds
        = read.duration(AccountField::TodayDuration, form.todayDuration, loaded.todayDuration, stored.TodaySeconds);
    out.TodayCost = read.amount(AccountField::TodayCost, form.todayCost, loaded.todayCost, stored.TodayCost);
    out.TodayCalls = read.calls(AccountField::TodayCalls, form.todayCalls, loaded.todayCalls, stored.TodayCalls);
    out.MonthSeconds
        = read.duration(AccountField::MonthDuration, form.monthDuration, loaded.monthDuration, stored.MonthSeconds);
    out.MonthCost = read.amount(AccountField::MonthCost, form.monthCost, loaded.monthCost, stored.MonthCost);
    out.MonthCalls = read.calls(AccountField::MonthCalls, form.monthCalls, loaded.monthCalls, stored.MonthCalls);
    out.TotalSeconds
        = read.duration(AccountField::TotalDuration, form.totalDuration, loaded.totalDuration, stored.TotalSeconds);
    out.TotalCost = read.amount(AccountField::TotalCost, form.totalCost, loaded.totalCost, stored.TotalCost);
    out.TotalCalls = read.calls(AccountField::TotalCalls, form.totalCalls, loaded.totalCalls, stored.TotalCalls);
    out.MonthStartDay = read.whole(AccountField::MonthStartDay, form.monthStartDay, loaded.monthStartDay,
        AccountFieldLimits::kMinMonthStartDay, AccountFieldLimits::kMaxMonthStartDay, stored.MonthStartDay);
    readTermFields(read, form, loaded, out);
    if (read.error())
        return std::unexpected(*read.error());
    return out;
}

std::expected<AccountTerms, AccountFieldError> readAccountTerms(const AccountForm &form, const AccountForm &loaded,
    const Provider &stored, const QDate &today, const QLocale &locale)
{
    FieldReader read(today, locale);
    Provider terms = stored;
    readTermFields(read, form, loaded, terms);
    if (read.error())
        return std::unexpected(*read.error());
    return accountTermsOf(terms);
}
