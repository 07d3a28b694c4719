#include "dashboard/UnitChoice.h"

#include <string>
#include <utility>

namespace vcm {

UnitChoice::UnitChoice(View& view, MonitorSettings& settings, std::function<void()> writeSettings,
                       UnitsChanged unitsChanged)
    : view_(view), settings_(settings), writeSettings_(std::move(writeSettings)), unitsChanged_(std::move(unitsChanged))
{
}

void UnitChoice::showSystem(bool metric)
{
    if (metric != shownMetric_ && unitsChanged_) unitsChanged_(shownMetric_, shownCelsius_);
    shownMetric_ = metric;
    view_.setText({"SpeedUnit"}, metric ? "km/h" : "mph");
    view_.setChecked({"m_Metric"}, metric);
    view_.setChecked({"m_us"}, !metric);
}

void UnitChoice::showTemperature(bool celsius)
{
    if (celsius != shownCelsius_ && unitsChanged_) unitsChanged_(shownMetric_, shownCelsius_);
    shownCelsius_ = celsius;
    const char* unit = celsius ? "°C" : "°F";
    view_.setText({"BattTempUnit"}, unit);
    view_.setText({"CoolantTempUnit"}, unit);
    view_.setChecked({"m_Celsius"}, celsius);
    view_.setChecked({"m_Fahrenheit"}, !celsius);
}

void UnitChoice::m_Metric_Click()
{
    showSystem(true);
    if (writeSettings_) writeSettings_();
}

void UnitChoice::m_USA_Click()
{
    showSystem(false);
    if (writeSettings_) writeSettings_();
}

void UnitChoice::m_Celsius_Click()
{
    showTemperature(true);
    if (writeSettings_) writeSettings_();
}

void UnitChoice::m_Fahrenheit_Click()
{
    showTemperature(false);
    if (writeSettings_) writeSettings_();
}

void UnitChoice::chooseMetric(bool metric)
{
    settings_.MetricUnits = metric;
    metric ? m_Metric_Click() : m_USA_Click();
}

void UnitChoice::chooseCelsius(bool celsius)
{
    settings_.Celsius = celsius;
    celsius ? m_Celsius_Click() : m_Fahrenheit_Click();
}

void UnitChoice::applyAtStartUp()
{
    // The check marks start from the settings; the labels of the design read metric/°C.
    showSystem(true);
    showTemperature(true);
    if (!settings_.MetricUnits) m_USA_Click();
    if (!settings_.Celsius) m_Fahrenheit_Click();
}

std::string versionText(int major, int minor, int revision)
{
    return std::to_string(major) + "." + std::to_string(minor) + std::to_string(revision);
}

std::string windowCaption(int major, int minor, int revision)
{
    return "VeloxCanMoni Ver." + versionText(major, minor, revision);
}

} // namespace vcm
