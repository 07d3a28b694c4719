#include "RunSummary.h"

#include "common/Format.h"
#include "decode/Units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vcm {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double ElectricBelowA = -6.0;  // the dashboard's threshold, -60 tenths of an ampere
constexpr double MinDistanceForAverageM = 100;

// Sum of the rises of a counter that restarts from 0 when acquisition restarts.
std::vector<double> runningRises(const std::vector<double>& counter)
{
    std::vector<double> out(counter.size(), 0.0);
    for (std::size_t i = 1; i < counter.size(); ++i) {
        const double d = counter[i] - counter[i - 1];
        out[i] = out[i - 1] + (d >= 0 ? d : std::max(0.0, counter[i]));
    }
    return out;
}

std::string fixed(double v, const char* pattern) { return formatNumber(v, pattern, '.'); }

std::string clockText(double seconds)
{
    const auto s = static_cast<long long>(std::llround(seconds));
    std::string m = std::to_string(s / 60 % 60), sec = std::to_string(s % 60);
    if (m.size() < 2) m.insert(0, "0");
    if (sec.size() < 2) sec.insert(0, "0");
    return std::to_string(s / 3600) + ":" + m + ":" + sec;
}

} // namespace

const char* driveModeName(DriveMode mode)
{
    static constexpr std::array<const char*, DriveModeCount> names{"thermal", "electric", "regeneration", "glide",
                                                                    "standstill"};
    return names[static_cast<std::size_t>(mode)];
}

DriveMode classifyRow(double speedKmh, double injector, double currentA)
{
    if (!(speedKmh > 0)) return DriveMode::Standstill;
    if (injector != 0) return DriveMode::Thermal;
    if (currentA < ElectricBelowA) return DriveMode::Electric;
    if (currentA > 0) return DriveMode::Regeneration;
    return DriveMode::Glide;
}

double RunSummary::modeShare(DriveMode m) const
{
    double total = 0;
    for (double s : modeSeconds) total += s;
    return total > 0 ? modeSeconds[static_cast<std::size_t>(m)] / total : 0;
}

std::vector<double> rowSeconds(const RunData& run)
{
    std::vector<double> w(run.rows(), 0.0);
    for (std::size_t i = 1; i < w.size(); ++i) w[i] = std::clamp(run.t[i] - run.t[i - 1], 0.0, MaxRowSeconds);
    return w;
}

RunSummary summarize(const RunData& run)
{
    RunSummary s;
    s.start = run.start;
    s.rows = run.rows();
    if (run.rows() == 0) return s;
    s.durationS = run.t.back();
    const std::vector<double> w = rowSeconds(run);
    double brakingS = 0, brakingChargingS = 0, joulesUsed = 0, joulesRegen = 0;
    for (std::size_t i = 0; i < run.rows(); ++i) {
        const bool moving = run.speedKmh[i] > 0;
        (moving ? s.movingS : s.stoppedS) += w[i];
        s.modeSeconds[static_cast<std::size_t>(classifyRow(run.speedKmh[i], run.injector[i], run.currentA[i]))] += w[i];
        const double watts = run.voltageV[i] * run.currentA[i];
        (watts < 0 ? joulesUsed : joulesRegen) += std::abs(watts) * w[i];
        if (moving && run.brake[i] > 0) {
            brakingS += w[i];
            if (run.currentA[i] > 0) brakingChargingS += w[i];
        }
    }
    s.distanceKm = runningRises(run.distanceM).back() / 1000;
    s.fuelL = runningRises(run.fuelMl).back() / 1000;
    if (s.distanceKm * 1000 >= MinDistanceForAverageM) s.litresPer100Km = s.fuelL * 100 / s.distanceKm;
    s.kWhUsed = joulesUsed / 3.6e6;
    s.kWhRegenerated = joulesRegen / 3.6e6;
    if (brakingS > 0) s.brakingRecoveredShare = brakingChargingS / brakingS;
    return s;
}

std::vector<std::pair<std::string, std::string>> summaryTable(const RunSummary& s)
{
    std::vector<std::pair<std::string, std::string>> t{
        {"Start", formatDateTime(s.start, "dd/mm/yyyy") + " " + formatDateTime(s.start, "hh:mm:ss")},
        {"Duration", clockText(s.durationS)},
        {"Time moving", clockText(s.movingS)},
        {"Time stopped", clockText(s.stoppedS)},
        {"Distance", fixed(s.distanceKm, "0.000") + " km"},
        {"Fuel", fixed(s.fuelL, "0.000") + " L"},
        {"Consumption", s.litresPer100Km ? fixed(*s.litresPer100Km, "0.00") + " L/100 km" : "-"},
        {"Battery energy used", fixed(s.kWhUsed, "0.000") + " kWh"},
        {"Battery energy regenerated", fixed(s.kWhRegenerated, "0.000") + " kWh"},
        {"Braking time with regeneration",
         s.brakingRecoveredShare ? fixed(*s.brakingRecoveredShare * 100, "0") + " %" : "- (no braking)"},
    };
    for (std::size_t m = 0; m < DriveModeCount; ++m) {
        std::string name = driveModeName(static_cast<DriveMode>(m));
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
        t.emplace_back("Share " + name, fixed(s.modeShare(static_cast<DriveMode>(m)) * 100, "0.0") + " %");
    }
    return t;
}

std::vector<std::string> runListColumns()
{
    return {"Date", "Start", "Duration", "Distance (km)", "Fuel (L)", "L/100 km", "EV share (%)"};
}

std::vector<std::string> runListRow(const RunSummary& s)
{
    return {formatDateTime(s.start, "dd/mm/yyyy"),
            formatDateTime(s.start, "hh:mm:ss"),
            clockText(s.durationS),
            fixed(s.distanceKm, "0.0"),
            fixed(s.fuelL, "0.00"),
            s.litresPer100Km ? fixed(*s.litresPer100Km, "0.00") : "-",
            fixed(s.modeShare(DriveMode::Electric) * 100, "0.0")};
}

std::vector<double> instantConsumption(const RunData& run)
{
    std::vector<double> out(run.rows(), NaN);
    for (std::size_t i = 0; i < run.rows(); ++i)
        if (run.speedKmh[i] > 0) out[i] = units::instantLitresPer100Km(run.injector[i], run.rpm[i], run.speedKmh[i]);
    return out;
}

std::vector<double> runningConsumption(const RunData& run)
{
    const std::vector<double> metres = runningRises(run.distanceM), ml = runningRises(run.fuelMl);
    std::vector<double> out(run.rows(), NaN);
    for (std::size_t i = 0; i < run.rows(); ++i)
        if (metres[i] >= MinDistanceForAverageM) out[i] = ml[i] * 100 / metres[i];
    return out;
}

std::vector<double> batteryPowerKw(const RunData& run)
{
    std::vector<double> out(run.rows());
    for (std::size_t i = 0; i < run.rows(); ++i) out[i] = run.voltageV[i] * run.currentA[i] / 1000;
    return out;
}

} // namespace vcm
