#pragma once
// The clock of a replay: the recording's moment as the millisecond tick count and the
// local date-time the logs show. Set from the recording's time line (microseconds since
// 1970 UTC); it never goes back, whatever it is set to.
#include "common/Clock.h"
#include "sources/replay/LocalTime.h"

#include <algorithm>
#include <cstdint>

namespace vcm {

class RecordingClock {
public:
    // firstUs/firstTick: the first chunk's moment and the tick count it showed.
    RecordingClock(std::int64_t firstUs, double firstTick) : firstUs_(firstUs), firstTick_(firstTick) {}
    ManualClock& clock() { return clock_; }
    void setAt(std::int64_t timeUs)
    {
        const double tick = firstTick_ + static_cast<double>(timeUs - firstUs_) / 1000.0;
        // A command wait may have moved the clock on already: it never goes back.
        clock_.setTick(std::max(clock_.tickCount(), tick));
        const std::int64_t second = timeUs >= 0 ? timeUs / 1000000 : -((-timeUs + 999999) / 1000000);
        const DateTime now = local_.at(second);
        if (now.seconds() > clock_.now().seconds())
            clock_.setNow(now);
    }

private:
    std::int64_t firstUs_;
    double firstTick_;
    ManualClock clock_{0, DateTime()};
    LocalTimeCache local_;
};

} // namespace vcm
