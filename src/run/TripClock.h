#pragma once
// The trip's driving time: from the first tick the car moves in a run to the last one,
// counted only while acquisition runs (frozen after Stop). The main tick advances it.
#include "common/DateTime.h"
#include "decode/VehicleState.h"

namespace vcm {

inline void advanceTripClock(VehicleState& v, DateTime now)
{
    if (v.SpeedDisplay == 0 || !v.TripClockRunning) return;
    if (v.TripStart.isZero()) v.TripStart = now;
    v.TripNow = now;
    v.TripSeconds = static_cast<double>(DateTime::secondsBetween(v.TripStart, v.TripNow));
}

} // namespace vcm
