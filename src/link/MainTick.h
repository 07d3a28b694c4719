#pragma once
// The 100 ms heartbeat of acquisition (Timer1). One tick, in this order:
//   recovery   ELM327 "FULL"/"ERROR" seen -> "ATMA" once
//   running (AdapterControl::isRunning):
//     watchdog  no frame for more than 5 clock seconds -> lamp silent, ELM327 "ATMA"
//     minute    from the 100th tick on, a new minute-of-hour adds a histogram bar
//   port open:
//     log row   one row per tick through RunLog (opens the set, rolls over at 65000)
//     GPS       altitude and elevation gain on the dashboard
//     shares    while moving: thermal / electric / glide / regeneration ticks, shown
//               as whole percent of every tick since the window opened
//   always: current average sample, trip clock, every panel, the clock "hh:mm", one
//   yield, then with the CANUSB the
//   diagnostic polling, one frame per tick:
//     "t7E280221C30000000000" (request record C3), "t7E283000000000000000" (flow control)
#include "common/Clock.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"
#include "link/EventPump.h"
#include "link/LinkState.h"
#include "link/ShareCounter.h"

#include <array>
#include <cstdint>
#include <string>

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
    static constexpr int IntervalMs = 100;
    static constexpr int WatchdogSeconds = 5;
    static constexpr double MinuteStepAfterTicks = 100;
    static constexpr const char* PollRequest = "t7E280221C30000000000";
    static constexpr const char* PollFlowControl = "t7E283000000000000000";

    MainTick(MainTickParts parts, char decimalSeparator);

    // Timer1. A tick that arrives while one is still running (inside its yield or a
    // command wait) is skipped: the heartbeat never runs inside itself.
    void onTimer();

    const ShareCounter& shares() const { return shares_; }
    std::int16_t pollStep() const { return pollStep_; }

private:
    void tick();
    void watchdog(DateTime now);
    void minuteStep(DateTime now);
    void countShares();
    void writeRow(DateTime now);
    void poll();

    MainTickParts p_;
    char decimalSeparator_;
    bool inTick_ = false;
    ShareCounter shares_;
    std::int16_t pollStep_ = 0;
    std::string row_;
};

} // namespace vcm
