#pragma once

#include "core/store/Records.h"
#include "core/store/Values.h"

#include <QDate>
#include <QDateTime>

#include <array>
#include <cstdint>
#include <span>

// Connected seconds per calendar month of the calls' start dates. The log
// keeps two-digit years, and the program reads every two-digit year in the
// century of today, so year yy here is the year of today's century that ends
// in yy; calls a century apart cannot be told apart and share a month.
class MonthlyUsage {
public:
    static constexpr int kYears = 100;
    static constexpr int kMonths = 12;

    // `twoDigitYear` 0..99, `month` 1..12; 0 outside those ranges.
    std::uint64_t seconds(int twoDigitYear, int month) const;
    // Ignored outside those ranges.
    void add(int twoDigitYear, int month, std::uint64_t seconds);

private:
    std::array<std::uint64_t, kYears * kMonths> m_seconds {};
};

// Adds up the logged calls of the provider at `providerIndex` by the month in
// which they began. Deleted calls, unused slots and records whose start date
// bytes name no month are skipped. Calls moved to the archive count too.
MonthlyUsage GetTotalDurationForProviderMonth(
    const CallLogTable &log, int providerIndex, std::span<const CallRecord> archived = {});

// What an account charges.
struct AccountTerms {
    QDate startedOn; // invalid: never set, nothing is charged
    MoneyValue monthlyFee = 0; // per whole 30 days since startedOn
    int monthlyHourLimit = 0; // whole hours a month; 0: no limit, no extra hours
    MoneyValue extraPerHour = 0; // per whole hour beyond the limit in a calendar month
};

// The start date of a record; invalid when it was never set (0) or is no date.
QDate accountStartDate(DateTimeValue startedOn);
AccountTerms accountTermsOf(const Provider &provider);

// The charges to date at `now`: the fee for every whole 30 days from the start
// date, plus the extra hours of every calendar month of `usage`, including
// months before the start date. Zero until `now` is past the start of the
// start date. Saturates instead of overflowing.
MoneyValue CalcTodateProviderCost(const AccountTerms &terms, const MonthlyUsage &usage, const QDateTime &now);
