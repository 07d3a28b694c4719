#pragma once
// The GPS receiver's timer (GPSTimer, every 2050 ms): lets pending events run, reads
// what the receiver sent since the last tick, copies it to the GPS log and decodes it.
// Nothing happens while EnableGPS is off; a closed port gives empty text.
#include "config/MonitorSettings.h"
#include "link/EventPump.h"
#include "link/SerialPort.h"

namespace vcm {

class RunLog;
struct GpsState;

class GpsTick {
public:
    GpsTick(const MonitorSettings& settings, EventPump& pump, SerialPort& port, RunLog& log,
            GpsState& gps, char decimalSeparator);

    void onTimer();

private:
    const MonitorSettings& settings_;
    EventPump& pump_;
    SerialPort& port_;
    RunLog& log_;
    GpsState& gps_;
    char decimalSeparator_;
    bool inTick_ = false;
};

} // namespace vcm
