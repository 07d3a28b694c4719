#pragma once
// Reads a value log back (the rows the main tick writes, one every 100 ms) into columns.
//
// The header line says what the rows hold; nothing is guessed from the values:
//   "km/h;Tpm;L/100" (metric) or "mph;Rpm;MPG" (US) in columns 3 to 5,
//   ";GPS Latitude;...;Nbre Sat" when GPS columns follow the 26 value columns,
//   ";C3_01" .. ";C3_39" when the CANUSB adapter wrote its diagnostic replies after them.
// Numbers carry no thousands separator, so "," and "." are both read as the decimal
// point: "52,3" and "52.3" are the same speed. Distance (metres) and Litres
// (millilitres) are written in SI whatever the unit system; the US speed column holds
// whole miles per hour and is read back to km/h. Temperatures are not read: the header
// writes "°C" in both temperature units, so it cannot tell them apart.
//
// Example (metric, ELM327, ',' as decimal separator):
//   Date;Heure;km/h;Tpm;L/100;Temp Eau(°C);Courant(A);...;Litres;Couple Therm; l/h
//   04/12/2026;09:10:05;52,3;1376;4,87;85,5;-12,3;28;215;57,5;...;78;62;2,54
// A row that is cut, misses columns or holds a text where a number belongs is skipped
// and reported as "file:line: what".
#include "common/DateTime.h"
#include "common/FileSystem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vcm {

struct LogLayout {
    bool metric = true;
    bool gps = false;      // six GPS columns after the 26 value columns
    bool canusb = false;   // diagnostic reply columns at the end
    std::size_t headerFields = 0;
    friend bool operator==(const LogLayout&, const LogLayout&) = default;
};

// Reads the header line; nothing when it is not a value log's header.
std::optional<LogLayout> parseLogHeader(std::string_view header);

struct LogProblem {
    std::string file;
    std::size_t line = 0;  // 1-based; 0 for the file as a whole
    std::string what;
    std::string text() const;  // "file:line: what"
};

// One run: the rows of a value log (or of a rollover pair) as columns, SI units.
struct RunData {
    LogLayout layout;
    std::vector<std::string> files;
    DateTime start;                  // date and time of the first row
    std::size_t rowsInLastFile = 0;
    DateTime lastRowTime;            // of the last row read
    double firstTimerMs = 0;         // Timer column (milliseconds) of the first row
    double lastTimerMs = 0;          // and of the last
    std::vector<double> t;           // seconds since the first row
    std::vector<double> speedKmh, rpm, injector, currentA, voltageV, socPercent, brake, distanceM, fuelMl;
    std::vector<double> latitude, longitude, altitudeM;  // GPS logs only; NaN without a fix
    std::size_t rows() const { return t.size(); }
};

struct LogReadResult {
    std::optional<RunData> run;           // nothing when the file cannot be read at all
    std::vector<LogProblem> problems;     // damaged rows, or why nothing could be read
};

LogReadResult readValueLog(FileSystem& fs, const std::string& path);
LogReadResult parseValueLog(std::string_view text, const std::string& path);

// The value log holds this many rows before the next set of files continues the run.
inline constexpr std::size_t RolloverRows = 65000;

// Appends next to run when next continues it: run's last file is full, same header,
// and next's first row follows within two seconds. False (nothing changed) otherwise.
bool joinRollover(RunData& run, RunData&& next);

} // namespace vcm
