#pragma once
// The unit choices of the main window: the routines the setup dialog and the Unit menu
// call after setting MetricUnits or Celsius. Each puts the unit labels and the menu check
// marks in line with the setting and then writes the settings file.
//
//   metric: SpeedUnit "km/h", check on m_Metric   US: SpeedUnit "mph", check on m_us
//   celsius: BattTempUnit and CoolantTempUnit "°C", check on m_Celsius
//   fahrenheit: the same labels "°F", check on m_Fahrenheit
// Distance and consumption are always shown in km and L/100 km, whatever the system.
#include "common/View.h"
#include "config/MonitorSettings.h"

#include <functional>
#include <string>

namespace vcm {

class UnitChoice {
public:
    // unitsChanged is told the units the figures on screen were in, after each change.
    using UnitsChanged = std::function<void(bool wasMetric, bool wasCelsius)>;
    UnitChoice(View& view, MonitorSettings& settings, std::function<void()> writeSettings,
               UnitsChanged unitsChanged = {});

    void m_Metric_Click();
    void m_USA_Click();
    void m_Celsius_Click();
    void m_Fahrenheit_Click();

    // A Unit menu entry: sets the field, then does what the setup dialog's choice does.
    void chooseMetric(bool metric);
    void chooseCelsius(bool celsius);

    // Start-up, after the settings are read: the labels of the design are metric and
    // Celsius, so only US units and Fahrenheit need applying (each writes the settings).
    void applyAtStartUp();

private:
    void showSystem(bool metric);
    void showTemperature(bool celsius);

    View& view_;
    MonitorSettings& settings_;
    std::function<void()> writeSettings_;
    UnitsChanged unitsChanged_;
    // The units the figures on screen are in (the design's until start-up says otherwise).
    bool shownMetric_ = true;
    bool shownCelsius_ = true;
};

// The window caption: the program's name and its version, minor and revision run
// together after one point: 1.2.3 -> "VeloxCanMoni Ver.1.23", 1.0.12 -> "... Ver.1.012".
std::string versionText(int major, int minor, int revision);
std::string windowCaption(int major, int minor, int revision);

} // namespace vcm
