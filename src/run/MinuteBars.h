#pragma once
// Why: the histogram shows one bar per minute of driving; the bar is added when the
// minute of the hour changes, not every sixty seconds of ticks.
#include "common/DateTime.h"

namespace vcm {

struct LinkState;
struct VehicleState;
class HistogramModel;
class MinuteClock;

class MinuteBars {
public:
    MinuteBars(const LinkState& link, const VehicleState& vehicle, MinuteClock& minuteClock, HistogramModel& histogram)
        : link_(link), vehicle_(vehicle), minuteClock_(minuteClock), histogram_(histogram)
    {
    }

    void step(DateTime now);

private:
    const LinkState& link_;
    const VehicleState& vehicle_;
    MinuteClock& minuteClock_;
    HistogramModel& histogram_;
};

} // namespace vcm
