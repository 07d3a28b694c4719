#pragma once
// Runs a recording through the live program's own path - adapter port, receive path,
// frame decoder, main tick every 100 ms, GPS tick every 2050 ms, run log and trip file -
// on a virtual clock that follows the recording's time, as fast as the machine allows.
// What lands in the output folder is what the live program would have written there:
// the value log CAN_ddmmyyyy_hhnn.csv (header, one row per 100 ms of recorded time) and
// the run's line and totals in TRAJETS.CSV.
//
// The timers tick on the recording's time line at whole multiples of their period after
// the 100 ms boundary before the first chunk, so two recordings of the same drive (a raw
// log and its candump export) are sampled at the same instants.
//
// A gap of more than PauseSeconds without received text (the logger was paused, or a
// time stamp is wrong) is replayed as PauseSeconds: the time line after it moves up by
// the rest, so a one-day gap or a stamp in the year 3000 costs 100 rows, not millions.
#include "common/FileSystem.h"
#include "config/MonitorSettings.h"
#include "dashboard/Dashboard.h"
#include "sources/replay/RecordingSource.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vcm {

struct ReplayOptions {
    // The user's settings: units and temperature scale decode the drive; the port,
    // logging and GPS fields are set by the replay.
    MonitorSettings settings;
    std::string outFolder;
    std::string gpsPath;           // NMEA recording to replay beside the drive, "" for none
    bool replaceExisting = false;  // replace value logs already in the folder
    char decimalSeparator = '.';
};

struct ReplayReport {
    std::vector<std::string> files;   // written, final names
    std::int64_t rows = 0;            // value-log rows
    std::int64_t chunks = 0;          // received chunks replayed
    double recordedMs = 0;            // from the first to the last chunk
    double distanceM = 0;
    double fuelMl = 0;
    std::vector<std::string> notes;   // what the run told the user (a damaged trip file)
    int pauses = 0;                   // gaps shortened to PauseSeconds
    double longestPauseMs = 0;        // the longest of them as recorded
};

constexpr double PauseSeconds = 10;

// The settings a replay runs with: the user's, on the ports a replay feeds (adapter on
// port 1, GPS on port 2 when there is a GPS recording, no auxiliary input), without a
// raw log (the recording is one) and saving to saveFolder.
MonitorSettings replaySettings(const MonitorSettings& user, AdapterForm form, bool withGps, const std::string& saveFolder);

// Throws RecordingError (unreadable input) or ReplayError (output could not be written
// whole); nothing is left in the folder looking complete after a failure.
ReplayReport replayRecording(RecordingSource& source, const ReplayOptions& options, FileSystem& disk,
                             const std::function<void(double)>& progress = {},
                             const std::function<void(const Dashboard&)>& dashboardChanged = {});

class ReplayError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace vcm
