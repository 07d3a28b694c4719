#include "link/EventPump.h"

#include <algorithm>
#include <cmath>

namespace vcm {

bool waitUntil(EventPump& pump, const Clock& clock, const std::function<bool()>& done, double timeoutMs)
{
    const double deadline = clock.tickCount() + timeoutMs;
    while (!done()) {
        const double left = deadline - clock.tickCount();
        if (left <= 0)
            break;
        pump.waitForEvents(static_cast<int>(std::ceil(std::min(left, 1000.0))));
    }
    return done();
}

} // namespace vcm
