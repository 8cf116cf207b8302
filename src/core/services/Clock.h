#pragma once

#include <QDateTime>

#include <cstdint>

// All time reaches the logic through here, so tests can set any date and
// let seconds pass at will.
class Clock {
public:
    virtual ~Clock() = default;
    // Local wall-clock time: dates, tariffs, call start and end.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never jumps (the user may change the wall
    // clock): call durations.
    virtual std::int64_t monotonicMilliseconds() const = 0;
};

class SystemClock final : public Clock {
public:
    SystemClock();
    QDateTime now() const override;
    std::int64_t monotonicMilliseconds() const override;

private:
    std::int64_t m_start;
};
