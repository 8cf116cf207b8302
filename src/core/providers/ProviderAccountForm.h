#pragma once

#include "core/providers/ProviderAccount.h"
#include "core/store/Records.h"

#include <QLocale>
#include <QString>

#include <expected>

// The texts of the provider account dialog's edit fields, and their reading
// back into a record. Every field is read before anything is written, so a
// wrong field leaves the record as it was.
struct AccountForm {
    QString todayDuration; // "hhhh:mm:ss"; more hour digits when needed
    QString todayCost; // two decimals with thousands separators
    QString todayCalls; // whole number 0..65000
    QString monthDuration;
    QString monthCost;
    QString monthCalls;
    QString totalDuration;
    QString totalCost;
    QString totalCalls;
    QString startedOn; // "dd/mm/yy"; empty: never set
    QString monthlyFee;
    int monthStartDay = 1; // 1..31
    int monthlyHourLimit = 0; // 0..65534
    QString extraPerHour;
};

// The fields in the order the dialog shows them, which is the order in which
// they are checked.
enum class AccountField {
    TodayDuration,
    TodayCost,
    TodayCalls,
    MonthDuration,
    MonthCost,
    MonthCalls,
    TotalDuration,
    TotalCost,
    TotalCalls,
    StartedOn,
    MonthlyFee,
    MonthStartDay,
    MonthlyHourLimit,
    ExtraPerHour,
};

enum class FieldProblem {
    NotADuration, // not hours:minutes:seconds with minutes and seconds below 60
    DurationTooLong,
    NotAnAmount,
    AmountTooLarge,
    NegativeAmount,
    NotAWholeNumber,
    OutOfRange, // see AccountFieldLimits
    NotADate,
};

struct AccountFieldError {
    AccountField field;
    FieldProblem problem;
    QString text; // what the field held
};

namespace AccountFieldLimits {
inline constexpr int kMaxCalls = 65000;
inline constexpr int kMinMonthStartDay = 1;
inline constexpr int kMaxMonthStartDay = 31;
inline constexpr int kMaxHourLimit = 65534;
inline constexpr int kMaxAmountLength = 15;
} // namespace AccountFieldLimits

// The edit texts for a record. A start date never set gives an empty text.
AccountForm accountFormOf(const Provider &provider, const QLocale &locale = QLocale());

// The record as the form would leave it, or the first wrong field. `loaded`
// is what the form held when it was filled from the record; a field whose
// text is still that keeps the value `stored` holds now, exactly: money texts
// show two decimals only, a start date never set must stay unset, and a call
// running meanwhile has added to the totals. Two-digit years are read in the
// century of `today`.
[[nodiscard]] std::expected<Provider, AccountFieldError> readAccountForm(const AccountForm &form,
    const AccountForm &loaded, const Provider &stored, const QDate &today, const QLocale &locale = QLocale());

// Only the fields the charges depend on (start date, fee, hour limit, extra
// per hour), read as readAccountForm reads them.
[[nodiscard]] std::expected<AccountTerms, AccountFieldError> readAccountTerms(const AccountForm &form,
    const AccountForm &loaded, const Provider &stored, const QDate &today, const QLocale &locale = QLocale());
