#pragma once
// Why: the short steps of the main tick that need no state of their own, each named for
// what a reader of MainTick::tick looks for.
#include "common/DateTime.h"

namespace vcm {

class Clock;
class CurrentAverage;
class DashboardModel;
class ShareCounter;
struct GpsState;
struct MonitorSettings;
struct VehicleState;

// Without the auxiliary input nothing reports the injector and VVT-i: a stopped engine
// shows neither.
void restEngineWithoutAux(const MonitorSettings& settings, VehicleState& vehicle);
// With a GPS receiver: the run's start altitude, then altitude and elevation gain shown.
void showGpsAltitude(const MonitorSettings& settings, GpsState& gps, DashboardModel& dashboard);
// A moving tick counts for one driving share; the shares are shown as whole percent.
void countMovingShare(ShareCounter& shares, const VehicleState& vehicle, DashboardModel& dashboard);
// Every tick: current average sample, trip clock, every panel and the clock "hh:mm".
void refreshDashboard(CurrentAverage& currentAverage, VehicleState& vehicle, const Clock& clock,
                      DashboardModel& dashboard, DateTime now);

} // namespace vcm
