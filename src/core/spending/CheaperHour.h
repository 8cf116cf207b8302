#pragma once

#include "core/store/Tariff.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// The rate a call started at a moment would get, as the main window's caption
// states it.
struct RateAt {
    int tariff = 0; // TariffTable index
    MoneyValue perMinute = 0; // 1/10000 of money
    bool incremental = false; // per minute; otherwise per call
};

// The rate of a call begun at `moment`; none when no tariff applies then.
std::optional<RateAt> rateAt(const TariffTable &table, const QDateTime &moment);

struct CheaperStart {
    QDateTime from;
    RateAt rate;
};

inline constexpr int kCheaperLookAheadDays = 7;

// The first moment after `now`, at most a week ahead, at which a call begun
// then would be charged less per minute (or per call) than `reference`.
// Tariffs only change where one's window starts or ends, or at midnight, so
// only those seconds are tried.
std::optional<CheaperStart> nextCheaperStart(const TariffTable &table, const QDateTime &now, const RateAt &reference);
// Cheaper than a call begun at `now`.
std::optional<CheaperStart> nextCheaperStart(const TariffTable &table, const QDateTime &now);

// For a new call while one runs at `reference`: `now` itself when a call
// begun now would already be cheaper, else the next cheaper start.
std::optional<CheaperStart> cheaperForNewCall(const TariffTable &table, const QDateTime &now, const RateAt &reference);

// "now", "18:00" today, "Sat 00:00" within six days, or with the date from a
// week ahead on ("Mon 9 Mar 00:00").
QString cheaperWhenText(const CheaperStart &start, const QDateTime &now);
// "Evening from 18:00: 0.02 p.min", "Evening now: 0.02 p.min"
QString cheaperStartText(const TariffTable &table, const CheaperStart &start, const QDateTime &now);

// nextCheaperStart(table, now) put into words (cheaperStartText; empty when
// nothing is cheaper), for a caller asking every second. The answer can only
// change when the tariffs change, when another tariff comes into force, or
// when the clock passes a second at which one may start or end (midnight
// included), so it is worked out again only then.
class CheaperStartLine {
public:
    const QString &text(const TariffTable &table, const QDateTime &now);

private:
    bool holds(const TariffTable &table, const QDate &day, int second, int inForce) const;

    std::vector<Tariff> m_tariffs; // as the text was worked out from
    QDate m_day; // the wall clock's day and seconds of it over which the text holds
    int m_fromSecond = 0;
    int m_untilSecond = 0;
    int m_inForce = -1; // the tariff in force then
    QString m_text;
};
