#pragma once
// The display rules: turn VehicleState into the Dashboard snapshot. Each routine
// remembers what it showed last and skips work when nothing changed; needle routines
// redraw anyway when forced (after a zoom). It keeps no vehicle state: the current's
// moving average and the trip clock are computed before it reads them.
#include "common/Format.h"
#include "config/MonitorSettings.h"
#include "dashboard/Dashboard.h"
#include "decode/DecoderSink.h"
#include "decode/VehicleState.h"

#include <array>
#include <cstdint>
#include <string>

namespace vcm {

struct GpsState;
struct TripTotals;

// Thresholds of the display rules (values as VehicleState holds them).
namespace shown {
constexpr std::int16_t SocGood = 630;          // tenths of a percent: 63 % and more is a healthy charge
constexpr double CoolantHot = 720;             // tenths C: 72 C and more reads hot (red)
constexpr double CoolantCold = 400;            // tenths C: below 40 C the engine is cold (blue)
constexpr double RpmNeedleFrom = 900;          // the rpm needle and unit show above idle
constexpr double MapRpmLow = 900, MapRpmHigh = 5000; // the engine map's span across
constexpr double MapInjectorTop = 1600;        // the engine map's injector value at its top edge
constexpr double SpeedWholeFrom = 50;          // from here the speed reads without decimals
constexpr double ConsumptionOneDecimalFrom = 5;
constexpr double PowerInKwFrom = 500;          // watts: from +-500 W the power reads in kW
constexpr std::int16_t TankLowPercent = 15;    // below this the tank figure blinks
constexpr double MetresBelow = 3600000;        // distance units below 1 km read in metres
} // namespace shown

class DashboardModel {
public:
    DashboardModel(const VehicleState& state, const MonitorSettings& settings, char decimalSeparator = '.');
    ~DashboardModel();
    DashboardModel(const DashboardModel&) = delete;
    DashboardModel& operator=(const DashboardModel&) = delete;

    const Dashboard& dashboard() const { return d_; }

    void showAccelGauge(bool force = false);
    void showSpeedAndTrip();
    void showEngineGauge(bool force = false);
    void showConsumption();
    void showCurrentGauge(bool force = false);
    void showBatteryPower();
    void showBrake();
    void showCoolantGauge(bool force = false);
    void showBatteryTemp();
    void showSocGauge(bool force = false);
    void showShiftLever();
    void showEnginePower();
    void showMotorTemps();
    void showTankLevel();

    // Every panel in the main tick's order, needles not forced.
    void refreshOnTick();
    // The five needles (and the engine map) again, at the current zoom.
    void redrawNeedles();

    // The settings' units changed from these: the values behind the unit-bound figures
    // (speed, battery and coolant temperatures) were decoded in the old units; those
    // that were shown are converted (in state) and shown again.
    void unitsChanged(VehicleState& state, bool wasMetric, bool wasCelsius);

    double dialScale() const { return d_.dialScale; }
    void setDialScale(double scale) { d_.dialScale = scale; }

    void showClock(const std::string& hhmm);
    void showShares(const std::array<int, 4>& percent);
    void showGpsAltitude(const GpsState& gps);
    void showGpsTrend(const GpsState& gps);
    // Every BlinkEvery-th received chunk: the lamp toggles, the tank blinks when low.
    void blinkActivity();
    void showSilence();
    void showRun(RunState run, bool adapterError);
    void showTripTotals(const TripTotals& totals);
    void showHistogramRevision(std::uint32_t revision) { d_.histogramRevision = revision; }
    void setLabel(DecoderLabel label, std::string_view caption);

private:
    void showCurrentFigure();
    void showSpeedFigure();
    void placeEngineMapCrossHair();
    std::string number(double value, NumberPattern pattern) const;

    const VehicleState& state_;
    const MonitorSettings& settings_;
    char decimalSeparator_;
    Dashboard d_;

    // Last values shown (zero when the window opens).
    std::int16_t shownCurrent_ = 0;
    std::int16_t shownSoc_ = 0;
    int shownAccel_ = 0;
    double shownRpm_ = 0;
    std::int16_t shownCoolant_ = 0;
    double shownConsumption_ = 0;
    std::int16_t shownVoltage_ = 0;
    double shownPower_ = 0;
    std::int16_t shownBatteryTemp_ = 0;
    std::int16_t shownTank_ = 0;
    std::int16_t shownBrake_ = 0;
    std::int16_t shownMgTemp_ = 0;
    std::int16_t shownExtTemp_ = 0;
    std::string shownShiftLever_;
    bool tankBlinkOn_ = false;
    // Whether these unit-bound figures were ever shown (a units change converts only those).
    bool speedShown_ = false, batteryTempShown_ = false, coolantShown_ = false;
};

// Writes a field: a new value raises its revision, the same value leaves it alone.
template <class T, class U>
void put(Field<T>& field, U&& value)
{
    if (field.revision != 0 && field.value == value) return;
    field.value = std::forward<U>(value);
    ++field.revision;
}
// Raises the revision whatever the value: drawn again on purpose.
template <class T, class U>
void force(Field<T>& field, U&& value)
{
    field.value = std::forward<U>(value);
    ++field.revision;
}

} // namespace vcm
