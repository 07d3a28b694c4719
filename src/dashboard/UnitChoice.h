#pragma once
// The units the dashboard shows: the unit system (km/h or mph) and the temperature scale
// (°C or °F). Distance and consumption are always shown in km and L/100 km, whatever the
// system. The design shows metric and Celsius until start-up applies the settings.
#include "config/MonitorSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace vcm {

struct Units {
    bool metric = true;
    bool celsius = true;
    bool operator==(const Units&) const = default;
};

inline Units unitsOf(const MonitorSettings& s) { return {s.MetricUnits, s.Celsius}; }

inline std::string_view speedUnitText(bool metric) { return metric ? "km/h" : "mph"; }
inline std::string_view temperatureUnitText(bool celsius) { return celsius ? "°C" : "°F"; }

// The units the figures on screen are in.
class UnitChoice {
public:
    Units shown() const { return shown_; }
    // The figures are to be shown in `chosen` from now on: the units they were in before,
    // or nothing when they are the same (no figure needs converting).
    std::optional<Units> choose(Units chosen);

private:
    Units shown_;
};

// The window caption: the program's name and its version, minor and revision run
// together after one point: 1.2.3 -> "VeloxCanMoni Ver.1.23", 1.0.12 -> "... Ver.1.012".
std::string versionText(int major, int minor, int revision);
std::string windowCaption(int major, int minor, int revision);

} // namespace vcm
