#pragma once
// veloxcanmoni --headless [--settings FILE] [--status-every SECONDS] [--live-candump FILE|-]
//
// Live logging without a window, for a small board in the car: the adapter configured
// in the settings file is started at once, the same value log, raw and GPS logs and
// trip file are written as by the dashboard, a one-line status goes to stdout every few
// seconds, and SIGINT or SIGTERM stops cleanly (adapter stopped, logs closed, trip
// line written). Needs Qt Core and Qt SerialPort only: no window system.
// Problems of the adapter link go to standard error as they happen, one line each,
// naming the device and the reason. A lost adapter is started again when it is back,
// on the same trip. With --live-candump the adapter port reads candump -L text
// ("candump -L can0 | veloxcanmoni --headless --live-candump -"); the end of that input
// ends the program as SIGTERM does.
#include "config/MonitorSettings.h"

#include <map>
#include <string>

namespace vcm {

struct HeadlessSetup {
    MonitorSettings settings;           // as read from the settings file
    std::map<int, std::string> portMap; // its "[Ports]" section
    std::string settingsFile;
    std::string saveFolder;             // where the logs go
    std::string defaultSaveFolder;      // when SavePath is empty
    int statusEverySeconds = 5;
};

// Runs until SIGINT or SIGTERM; returns the exit status.
int runHeadless(int argc, char** argv, const HeadlessSetup& setup);

} // namespace vcm
