#pragma once

#include "core/services/Clock.h"

// A clock the test moves by hand; wall and monotonic time advance together.
class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(10, 0)))
        : m_now(std::move(start))
    {
    }

    QDateTime now() const override { return m_now; }
    std::int64_t monotonicMilliseconds() const override { return m_monotonic; }

    void advanceSeconds(int seconds)
    {
        m_now = m_now.addSecs(seconds);
        m_monotonic += std::int64_t(seconds) * 1000;
    }
    void advanceMilliseconds(std::int64_t ms)
    {
        m_now = m_now.addMSecs(ms);
        m_monotonic += ms;
    }
    // Moves the wall clock only, as a user changing the system time would.
    void setWallClock(const QDateTime &moment) { m_now = moment; }

private:
    QDateTime m_now;
    std::int64_t m_monotonic = 0;
};
