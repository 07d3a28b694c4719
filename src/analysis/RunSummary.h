#pragma once
// The figures of one run, worked out from its value-log rows (see README, "After the
// drive").
//
// Each row stands for the time since the row before it, at most MaxRowSeconds (a longer
// gap is a stop of acquisition, not driving); the first row stands for nothing.
// Distance and fuel add up the rises of the Distance and Litres columns, so a restart of
// acquisition inside one log (the columns fall back to 0) loses nothing.
#include "ValueLog.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vcm {

// How the car was driven in a row, as the dashboard counts its shares: fuel injected is
// thermal; otherwise a battery discharging above 6 A is electric, charging is
// regeneration, anything else gliding; a speed of 0 is standstill.
enum class DriveMode { Thermal, Electric, Regeneration, Glide, Standstill };
inline constexpr std::size_t DriveModeCount = 5;
const char* driveModeName(DriveMode mode);
DriveMode classifyRow(double speedKmh, double injector, double currentA);

inline constexpr double MaxRowSeconds = 1.0;

struct RunSummary {
    DateTime start;
    std::size_t rows = 0;
    double durationS = 0;          // first row to last row
    double movingS = 0, stoppedS = 0;
    double distanceKm = 0;
    double fuelL = 0;
    std::optional<double> litresPer100Km;      // when the run covered at least 100 m
    double kWhUsed = 0, kWhRegenerated = 0;    // battery voltage x current
    std::optional<double> brakingRecoveredShare;  // share of braking time spent charging
    std::array<double, DriveModeCount> modeSeconds{};
    double modeShare(DriveMode m) const;       // of the counted time, 0..1
};

// Seconds each row stands for.
std::vector<double> rowSeconds(const RunData& run);
RunSummary summarize(const RunData& run);

// Labelled, formatted figures for the browser and the report ("Distance", "12.345 km").
std::vector<std::pair<std::string, std::string>> summaryTable(const RunSummary& s);
// One line of a run list: date, start, duration, distance, fuel, L/100 km, EV share.
std::vector<std::string> runListColumns();
std::vector<std::string> runListRow(const RunSummary& s);

// Series over the run's time axis (NaN where the figure has no meaning):
std::vector<double> instantConsumption(const RunData& run);  // L/100 km while moving
std::vector<double> runningConsumption(const RunData& run);  // since the start, after 100 m
std::vector<double> batteryPowerKw(const RunData& run);      // + charging, - discharging

} // namespace vcm
