#pragma once
// Why: a running adapter that sends nothing is shown and told as silent, and the ELM327
// is asked to monitor again, instead of the run looking alive with stale values.
#include "common/DateTime.h"

namespace vcm {

struct MonitorSettings;
struct VehicleState;
class AdapterControl;
class DashboardModel;

class SilenceWatchdog {
public:
    // More than this many clock seconds without a frame is silence.
    static constexpr int Seconds = 5;

    SilenceWatchdog(const MonitorSettings& settings, const VehicleState& vehicle, AdapterControl& adapter,
                    DashboardModel& dashboard)
        : settings_(settings), vehicle_(vehicle), adapter_(adapter), dashboard_(dashboard)
    {
    }

    void check(DateTime now);

private:
    const MonitorSettings& settings_;
    const VehicleState& vehicle_;
    AdapterControl& adapter_;
    DashboardModel& dashboard_;
};

} // namespace vcm
