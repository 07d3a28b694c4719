#pragma once
// Records a drive of the simulated car the way the live program records a real one:
// the Monitor on the simulated adapter, the serial port read every few milliseconds,
// Timer1 and GPSTimer firing, the raw log with its markers, the GPS log, the value log
// and the trip file written by the program's own writers - all on a virtual clock, so
// an hour of driving takes seconds. The GPS receiver is a simple 1 Hz NMEA source
// (GGA, GSA, RMC) following the drive's distance along a straight road.
#include "common/DateTime.h"

#include <cstdint>
#include <string>

namespace vcm {

struct SimulatedDriveOptions {
    std::string folder;            // save folder of the log set and trip file
    double seconds = 120;          // of driving after the start-up dialogue
    bool elm327 = true;            // adapter: ELM327 or CANUSB
    std::uint64_t seed = 1;        // which drive
    bool withGps = true;
    double readEveryMs = 4;        // how often the serial port delivers what it holds
    int bitsPerSecond = 500000;    // of the adapter's serial line (BPS)
    DateTime start = DateTime::fromCivil({2026, 12, 4, 9, 10, 0});
};

// What the link carried during the drive (after the start-up dialogue).
struct SimulatedDriveStats {
    double seconds = 0;             // of driving measured
    std::uint64_t framesDecoded = 0;
    double longestGapMs = 0;        // longest time without a decoded frame
    int bufferFullReports = 0;      // ELM327 "BUFFER FULL"
};

// Path of the first log set written, without extension ("<folder>/CAN_04122026_0910");
// a drive past 65000 rows (6500 s) goes on in further sets, as live.
std::string recordSimulatedDrive(const SimulatedDriveOptions& options, SimulatedDriveStats* stats = nullptr);

// One NMEA sentence: "$" body "*" checksum CR LF.
std::string nmeaSentence(const std::string& body);

} // namespace vcm
