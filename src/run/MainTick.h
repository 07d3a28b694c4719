#pragma once
// The 100 ms heartbeat of acquisition (Timer1). One tick, in this order (the order is
// behaviour: the row sees the values the panels then show):
//   ELM327 restart after a "FULL"/"ERROR" report        (Elm327Restart)
//   while running: silence watchdog, then from the 100th tick the minute bars
//                                                  (SilenceWatchdog, MinuteBars)
//   with the adapter port open: engine at rest without aux, GPS altitude, one log row,
//   the moving tick's driving share                (TickSteps, RowWriter, ShareCounter)
//   always: current average, trip clock, panels, clock; one yield   (refreshDashboard)
//   with the CANUSB: the diagnostic poll, one frame per tick        (CanUsbPoller)
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/EventPump.h"
#include "link/LinkState.h"
#include "run/CanUsbPoller.h"
#include "run/MinuteBars.h"
#include "run/RowWriter.h"
#include "run/ShareCounter.h"
#include "run/SilenceWatchdog.h"

namespace vcm {

class AdapterControl;
class DashboardModel;
class CurrentAverage;
class RunLog;
class HistogramModel;
class MinuteClock;
struct GpsState;

struct MainTickParts {
    LinkState& link;
    const MonitorSettings& settings;
    const Clock& clock;
    EventPump& pump;
    VehicleState& vehicle;
    AdapterControl& adapter;
    DashboardModel& dashboard;
    CurrentAverage& currentAverage;
    RunLog& log;
    GpsState& gps;
    HistogramModel& histogram;
    MinuteClock& minuteClock;
};

class MainTick {
public:
    static constexpr double MinuteStepAfterTicks = 100;

    MainTick(MainTickParts parts, char decimalSeparator);

    // Timer1. A tick that arrives while one is still running (inside its yield or a
    // command wait) is skipped: the heartbeat never runs inside itself.
    void onTimer();

    const ShareCounter& shares() const { return shares_; }

private:
    void tick();

    MainTickParts p_;
    bool inTick_ = false;
    ShareCounter shares_;
    SilenceWatchdog watchdog_;
    MinuteBars minuteBars_;
    RowWriter rows_;
    CanUsbPoller poller_;
};

} // namespace vcm
