#include "core/store/DateTimeValue.h"

#include <QStringList>
#include <QTime>

#include <cmath>

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsecsPerDay = 86400000.0;

} // namespace

DateTimeValue toDateTimeValue(const QDateTime &moment)
{
    return double(kEpoch.daysTo(moment.date())) + moment.time().msecsSinceStartOfDay() / kMsecsPerDay;
}

DateTimeValue toDateTimeValue(const QDate &date) { return double(kEpoch.daysTo(date)); }

QDate dateOfValue(DateTimeValue value)
{
    if (!std::isfinite(value) || std::abs(value) > 3.0e6)
        return {};
    return kEpoch.addDays(qint64(std::trunc(value)));
}

QDateTime fromDateTimeValue(DateTimeValue value)
{
    const QDate date = dateOfValue(value);
    if (!date.isValid())
        return {};
    const double fraction = std::abs(value - std::trunc(value));
    const int msecs = int(std::llround(fraction * 86400.0)) * 1000;
    if (msecs >= int(kMsecsPerDay))
        return QDateTime(date.addDays(1), QTime(0, 0));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(msecs));
}

MomentBytes momentBytes(const QDateTime &moment)
{
    const QDate d = moment.date();
    const QTime t = moment.time();
    return { std::uint8_t(d.day()), std::uint8_t(d.month()), std::uint8_t(d.year() % 100), std::uint8_t(t.hour()),
        std::uint8_t(t.minute()), std::uint8_t(t.second()) };
}

QDate dateFromTwoDigitYear(int day, int month, int year, const QDate &today)
{
    return QDate(today.year() / 100 * 100 + year, month, day);
}

std::optional<std::int64_t> civilDayNumber(int year, int month, int day)
{
    constexpr int kDays[12] = { 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31 };
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (day > (month == 2 && leap ? 29 : kDays[month - 1]))
        return std::nullopt;
    // Counted from March, so that a leap day ends its year.
    const int y = month <= 2 ? year - 1 : year;
    const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    return std::int64_t(y) * 365 + y / 4 - y / 100 + y / 400 + dayOfYear;
}

QString shortDateText(const QDate &date) { return date.toString(QStringLiteral("dd/MM/yy")); }

QDate parseShortDate(const QString &text, const QDate &today)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    bool okDay = false, okMonth = false, okYear = false;
    const int day = parts[0].trimmed().toInt(&okDay);
    const int month = parts[1].trimmed().toInt(&okMonth);
    int year = parts[2].trimmed().toInt(&okYear);
    if (!okDay || !okMonth || !okYear || year < 0)
        return {};
    if (parts[2].trimmed().size() <= 2)
        year += today.year() / 100 * 100;
    return QDate(year, month, day);
}
