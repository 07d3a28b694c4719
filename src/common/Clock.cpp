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
    return localFromEpoch(static_cast<std::int64_t>(std::time(nullptr)));
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
