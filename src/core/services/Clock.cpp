#include "core/services/Clock.h"

#include <chrono>

namespace {

std::int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

SystemClock::SystemClock()
    : m_start(steadyMilliseconds())
{
}

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

std::int64_t SystemClock::monotonicMilliseconds() const { return steadyMilliseconds() - m_start; }
