#include "run/MinuteBars.h"

#include "decode/VehicleState.h"
#include "link/LinkState.h"
#include "logging/Histogram.h"

namespace vcm {

void MinuteBars::step(DateTime now)
{
    if (!minuteClock_.step(link_.RunStart, now, vehicle_.FuelAccumulator, vehicle_.DistanceAccumulator))
        return;
    histogram_.minuteStep(minuteClock_.intervalConsumption());
}

} // namespace vcm
