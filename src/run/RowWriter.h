#pragma once
// Why: the value log gets one row per tick while the adapter port is open; the row's
// text buffer is kept so that a tick allocates nothing.
#include "common/DateTime.h"

#include <string>

namespace vcm {

class Clock;
class MinuteClock;
class RunLog;
struct GpsState;
struct MonitorSettings;
struct VehicleState;

class RowWriter {
public:
    RowWriter(const VehicleState& vehicle, const GpsState& gps, const MonitorSettings& settings, const Clock& clock,
              const MinuteClock& minuteClock, RunLog& log, char decimalSeparator);

    void write(DateTime now);

private:
    const VehicleState& vehicle_;
    const GpsState& gps_;
    const MonitorSettings& settings_;
    const Clock& clock_;
    const MinuteClock& minuteClock_;
    RunLog& log_;
    char decimalSeparator_;
    std::string row_;
};

} // namespace vcm
