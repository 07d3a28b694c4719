#include "run/TickSteps.h"

#include "common/Clock.h"
#include "common/Format.h"
#include "config/MonitorSettings.h"
#include "dashboard/DashboardModel.h"
#include "decode/CurrentAverage.h"
#include "decode/VehicleState.h"
#include "logging/GpsDecoder.h"
#include "run/ShareCounter.h"
#include "run/TripClock.h"

namespace vcm {

void restEngineWithoutAux(const MonitorSettings& settings, VehicleState& vehicle)
{
    if (settings.PortNumM == 0 && vehicle.EngineRpm == 0) {
        vehicle.Injector = 0;
        vehicle.VvtiAngle = 0;
    }
}

void showGpsAltitude(const MonitorSettings& settings, GpsState& gps, DashboardModel& dashboard)
{
    if (!settings.EnableGPS || settings.PortNumGPS < 1)
        return;
    takeStartAltitude(gps);
    dashboard.showGpsAltitude(gps);
}

void countMovingShare(ShareCounter& shares, const VehicleState& vehicle, DashboardModel& dashboard)
{
    if (!(vehicle.SpeedDisplay > 0))
        return;
    shares.countMoving(ShareCounter::classify(vehicle.Injector, vehicle.BatteryCurrentAvg));
    dashboard.showShares(shares.lastPercent());
}

void refreshDashboard(CurrentAverage& currentAverage, VehicleState& vehicle, const Clock& clock,
                      DashboardModel& dashboard, DateTime now)
{
    currentAverage.sample(vehicle);
    // The trip clock reads the clock again: the row and the panels took their time.
    advanceTripClock(vehicle, clock.now());
    dashboard.refreshOnTick();
    dashboard.showClock(formatDateTime(now, "hh:mm"));
}

} // namespace vcm
