#pragma once
// The replay and export modes of the command line:
//
//   veloxcanmoni --replay FILE [--out DIR] [--gps FILE] [--adapter elm327|canusb]
//                [--units si|us] [--temp c|f] [--bps N] [--start "YYYY-MM-DD hh:mm:ss"]
//                [--force]
//   veloxcanmoni --replay FILE --export-candump OUT.log [--adapter elm327|canusb]
//
// FILE is a raw log (CAN_ddmmyyyy_hhnn.txt, with its .gps beside it replayed too), plain
// ELM327 or CANUSB text, or a can-utils candump log; the content tells which. The value
// log and the trip line go to DIR, by default the save folder of the settings file.
#include "config/MonitorSettings.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace vcm {

struct ReplayCommandLine {
    std::string input;
    std::string outFolder;       // "" = the save folder
    std::string gpsPath;         // "" = the raw log's .gps when there is one
    std::string exportPath;      // --export-candump
    std::optional<bool> elm327;  // --adapter
    std::optional<bool> metric;  // --units
    std::optional<bool> celsius; // --temp
    int bitsPerSecond = 500000;
    std::optional<std::int64_t> startEpoch;
    std::string channel;         // --channel: the candump interface to replay, "" = the first
    bool force = false;
    bool gui = false;
};

// "YYYY-MM-DD hh:mm:ss" (or with a "T") in local time as seconds since the epoch;
// nothing when it is not such a time.
std::optional<std::int64_t> parseLocalStartTime(const std::string& text);

struct ReplayEnvironment {
    MonitorSettings settings;  // as read from the settings file
    std::string saveFolder;    // where the live program saves
    bool progressBar = false;  // stderr is a terminal
    char decimalSeparator = '.'; // the system's, as the live program writes numbers
};

// Runs the replay or export; returns the exit status (0 done, 1 failed, 2 bad usage).
int runReplayCommand(const ReplayCommandLine& line, const ReplayEnvironment& env, std::ostream& out, std::ostream& err);

} // namespace vcm
