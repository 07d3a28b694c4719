#include "Clock.h"

#include <chrono>
#include <ctime>

namespace vcm {

double SystemClock::tickCount() const
{
    using namespace std::chrono;
    return static_cast<double>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

DateTime SystemClock::now() const
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    return DateTime::fromCivil({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                local.tm_hour, local.tm_min, local.tm_sec});
}

void ManualClock::advance(double ms)
{
    tick_ += ms;
    msRemainder_ += ms;
    const auto wholeSeconds = static_cast<std::int64_t>(msRemainder_ / 1000.0);
    if (wholeSeconds != 0) {
        now_ = DateTime::fromSeconds(now_.seconds() + wholeSeconds);
        msRemainder_ -= static_cast<double>(wholeSeconds) * 1000.0;
    }
}

} // namespace vcm
