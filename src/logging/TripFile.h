#pragma once
// The trip file TRAJETS.CSV in the save folder: lifetime totals, the last per-minute
// histogram and one line per run, ";"-separated, lines ending CR LF.
//
//   C;;;5400;12345;98765                      totals: seconds, millilitres, metres
//   M;4,5                                      30 minute bars, oldest first ("0.0")
//   ...
//   T;04:12:26;09:10:05;1800;1234;25000;57,5;40;12;55;20;10;15
//       date, time of shutdown, seconds, ml, metres, SOC %, tank, elevation gain,
//       shares thermal, electric, regeneration, glide (%)
//
// Reading takes "." and "," alike as decimal point; a minute value with no separator
// at all comes from older files that wrote it scaled by 300 and is divided by 300.
// The file keeps the newest MaxTrips trip lines. It is rewritten beside the old one and
// renamed into place, so a power cut leaves the old file or the new one, whole.
#include "GpsState.h"
#include "common/DateTime.h"
#include "common/FileSystem.h"
#include "decode/VehicleState.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vcm {

struct TripTotals {
    double TotalSeconds = 0;
    double TotalFuelMl = 0;
    double TotalDistanceM = 0;
};

// What one run adds to the trip file at shutdown.
struct TripRun {
    DateTime shutdown;
    double seconds = 0;              // whole driving seconds of the run
    double fuelMl = 0;
    double distanceM = 0;
    double socPercent = 0;           // StateOfCharge / 10
    double tankLevel = 0;
    double elevationGain = 0;        // whole metres
    std::array<int, 4> shares{};     // thermal, electric, regeneration, glide (%)
};

// The driving shares as last shown, whole percent: thermal, electric, glide, regeneration.
using ShownShares = std::array<int, 4>;

// The run as it ends: driving seconds from TripStart to TripNow, fuel and distance of
// the integrators, SOC, tank, elevation gain since StartAltitude (0 when never taken)
// and the driving shares as last shown.
TripRun makeTripRun(const VehicleState& state, const GpsState& gps, const ShownShares& shares, DateTime now);

// One stored trip line read back ("T;..."), with the fields the histogram views use.
struct StoredTrip {
    double seconds = 0, fuelMl = 0, distanceM = 0;
    std::array<double, 4> shares{};  // thermal, electric, regeneration, glide
};

// Parses a "T;" line; nothing when it is not one.
std::optional<StoredTrip> parseTripLine(std::string_view line);
// Formats the trip line of a run (without line end).
std::string formatTripLine(const TripRun& run, char decimalSeparator);
// A number written with "." or "," as decimal point ("4,5" -> 4.5, "abc" -> 0).
double readLocaleNumber(std::string_view text);

struct TripFileContent {
    TripTotals totals;
    std::vector<double> minuteBars;       // up to 30, oldest first
    std::vector<std::string> tripLines;   // newest MaxTrips "T;" lines, oldest first
};

// What a trip file's text holds. Lines that are not totals, minute bars or trips are
// skipped and counted; without a totals line on top the totals are rebuilt from the
// stored trips, so that a damaged first line never resets them.
struct TripFileParse {
    TripFileContent content;
    std::size_t skippedLines = 0;
    bool totalsRebuilt = false;
};
TripFileParse parseTripFile(std::string_view text);

class TripStore {
public:
    static constexpr std::size_t MaxTrips = 500;
    static constexpr std::size_t MinuteBarCount = 30;
    // 500 trips of about 60 characters: a file much larger is not one this program wrote.
    static constexpr std::size_t MaxFileBytes = 4u << 20;

    // folder: the resolved save folder (see resolveSaveFolder).
    TripStore(FileSystem& fs, std::string folder, char decimalSeparator);

    std::string path() const;

    // Start-up: reads the file (missing file: zero totals, no bars, no trips) and
    // removes a ".new" file a kill left beside it. A file that cannot be read, or holds
    // lines that are not trips, is described in problem().
    const TripFileContent& load();
    const TripFileContent& content() const { return content_; }
    // What the user must be told about the file as loaded; "" when all is well.
    const std::string& problem() const { return problem_; }

    // Shutdown: writes totals + run, the 30 minute bars and the stored trips with the
    // run's line appended (dropping the oldest beyond MaxTrips). A run with neither
    // fuel nor distance, or whose line is stored already, leaves the file alone. A file
    // that could not be read is read again first and never written over; a damaged one
    // is copied to TRAJETS.CSV.damaged before it is rewritten. False (old file
    // untouched, the reason in saveError()) when the file could not be replaced.
    bool save(const std::array<double, 30>& minuteBars, const TripRun& run);
    const std::string& saveError() const { return saveError_; }

private:
    bool keepDamagedCopy();

    FileSystem& fs_;
    std::string folder_;
    char decimalSeparator_;
    TripFileContent content_;
    bool readable_ = true;        // false: the file exists but could not be read
    std::string damagedOriginal_; // the text of a damaged file, until its copy is kept
    std::string problem_;
    std::string saveError_;
};

} // namespace vcm
