#include "dashboard/DashboardModel.h"

#include "dashboard/NeedleGeometry.h"
#include "decode/Units.h"
#include "logging/GpsState.h"
#include "logging/TripFile.h"

#include <cmath>

namespace vcm {
namespace {

// Motor-generator 1 turns at 3.6 x the engine minus 92.09 x the road speed in km/h (the
// power-split gear's ratios).
double mg1Rpm(const VehicleState& v) { return v.EngineRpm * 3.6 - v.SpeedKmh * 92.09; }

} // namespace

DashboardModel::DashboardModel(const VehicleState& state, const MonitorSettings& settings, char decimalSeparator)
    : state_(state), settings_(settings), decimalSeparator_(decimalSeparator)
{
}

DashboardModel::~DashboardModel() = default;

std::string DashboardModel::number(double value, NumberPattern pattern) const
{
    return formatNumber(value, pattern, decimalSeparator_);
}

void DashboardModel::setLabel(DecoderLabel label, std::string_view caption)
{
    put(d_.decoderLabels[static_cast<std::size_t>(label)], std::string(caption));
}

void DashboardModel::showCurrentGauge(bool force)
{
    if (state_.BatteryCurrentAvg == shownCurrent_ && !force) return;
    showCurrentFigure();
}

void DashboardModel::showCurrentFigure()
{
    const std::int16_t avg = state_.BatteryCurrentAvg;
    put(d_.current, number(avg / 10.0, avg < 101 ? NumberPattern::OneDecimal : NumberPattern::Whole));
    vcm::force(d_.needles.current, NeedleState{currentAngle(avg), avg >= 0 ? Tone::Good : Tone::Warning, true});
    shownCurrent_ = avg;
}

void DashboardModel::showSocGauge(bool force)
{
    const std::int16_t soc = state_.StateOfCharge;
    if (soc == shownSoc_ && !force) return;
    put(d_.soc, number(soc / 10.0, NumberPattern::OneDecimal));
    vcm::force(d_.needles.soc, NeedleState{socAngle(soc), soc >= shown::SocGood ? Tone::Good : Tone::Warning, true});
    shownSoc_ = soc;
}

void DashboardModel::showAccelGauge(bool force)
{
    const int s = accelStep(state_.AccelPedal);
    if (s == shownAccel_ && !force) return;
    put(d_.accel, number(s / 2.0, s >= 1 && s < 11 ? NumberPattern::OneDecimal : NumberPattern::Whole));
    vcm::force(d_.needles.accel, NeedleState{accelAngle(s), Tone::Design, true});
    shownAccel_ = s;
}

void DashboardModel::showEngineGauge(bool force)
{
    const VehicleState& v = state_;
    if (v.Injector > 85) {
        const double e = v.EngineTorque * 388 / (v.Injector - 85);
        put(d_.efficiency, v.EngineRpm > 0 && e > 20 && e < 40 ? number(e, NumberPattern::OneDecimal) : std::string());
    }

    const double r = roundHalfEven(v.EngineRpm / 10) * 10;
    if (r == shownRpm_ && !force) return;
    put(d_.rpm, number(r, NumberPattern::WholeOrEmpty));
    const bool turning = v.EngineRpm > shown::RpmNeedleFrom;
    // A hidden needle keeps where it was drawn last.
    vcm::force(d_.needles.rpm, NeedleState{turning ? rpmAngle(v.EngineRpm) : d_.needles.rpm.value.angle, Tone::Design, turning});
    put(d_.rpmUnitShown, turning);
    shownRpm_ = r;
    put(d_.mg1Rpm, number(mg1Rpm(v), NumberPattern::Whole));
    placeEngineMapCrossHair();
}

// The map shows only at normal zoom, where it is not covered by the dials. Above the
// map's top value the cross-hair stays on the top edge.
void DashboardModel::placeEngineMapCrossHair()
{
    const VehicleState& v = state_;
    MapMark mark;
    mark.inRange = v.EngineRpm >= shown::MapRpmLow && v.EngineRpm <= shown::MapRpmHigh && d_.dialScale == 1;
    if (mark.inRange) {
        mark.across = (v.EngineRpm - shown::MapRpmLow) / (shown::MapRpmHigh - shown::MapRpmLow);
        mark.down = (v.Injector > shown::MapInjectorTop ? 0 : shown::MapInjectorTop - v.Injector) / shown::MapInjectorTop;
    }
    // Drawn at every call: the window's layouts hide and show the map too.
    vcm::force(d_.map, mark);
}

void DashboardModel::showSpeedFigure()
{
    const double speed = state_.SpeedDisplay;
    put(d_.speed, number(speed, speed < shown::SpeedWholeFrom ? NumberPattern::OneDecimal : NumberPattern::Whole));
    speedShown_ = true;
}

void DashboardModel::unitsChanged(VehicleState& v, bool wasMetric, bool wasCelsius)
{
    if (wasCelsius != settings_.Celsius) {
        // x in the old unit, zero the Fahrenheit figure of 0 degrees C in the same scale.
        auto convert = [this](double x, double zero) {
            return static_cast<std::int16_t>(roundHalfEven(settings_.Celsius ? units::fahrenheitToCelsius(x, zero)
                                                                             : units::celsiusToFahrenheit(x, zero)));
        };
        // Only values that were decoded (and so shown) are in the old unit.
        if (batteryTempShown_) {
            v.BatteryTempA = convert(v.BatteryTempA, 32);
            put(d_.batteryTemp, number(v.BatteryTempA, NumberPattern::Whole));
            shownBatteryTemp_ = v.BatteryTempA;
        }
        if (coolantShown_) {
            v.CoolantTemp = convert(v.CoolantTemp, 320); // tenths
            showCoolantGauge(true);
        }
    }
    if (wasMetric != settings_.MetricUnits) {
        v.SpeedDisplay = settings_.MetricUnits ? v.SpeedKmh : roundHalfEven(units::kmToMiles(v.SpeedKmh));
        if (speedShown_) showSpeedFigure();
    }
}

void DashboardModel::showCoolantGauge(bool force)
{
    const VehicleState& v = state_;
    if (v.CoolantTemp == shownCoolant_ && !force) return;
    const double figure = v.EngineTempRaw >= 16 ? v.CoolantTemp / 10.0 : v.EngineTempRaw;
    put(d_.coolant, number(figure, NumberPattern::OneDecimal));
    coolantShown_ = true;
    // The dial and its colour bands are in Celsius whatever unit the label shows.
    const double c = coolantTenthsCelsius(v.CoolantTemp, settings_.Celsius);
    const Tone tone = c >= shown::CoolantHot ? Tone::Warning : c < shown::CoolantCold ? Tone::Cold : Tone::Good;
    vcm::force(d_.needles.coolant, NeedleState{coolantAngle(c), tone, true});
    shownCoolant_ = v.CoolantTemp;
}

void DashboardModel::showSpeedAndTrip()
{
    const VehicleState& v = state_;
    showSpeedFigure();

    if (v.DistanceAccumulator > 0) {
        if (v.DistanceAccumulator < shown::MetresBelow) {
            put(d_.distance, number(units::metres(v.DistanceAccumulator), NumberPattern::Whole));
            put(d_.distanceUnit, DistanceUnit::Metres);
        } else {
            put(d_.distance, number(units::kilometres(v.DistanceAccumulator), NumberPattern::ThreeDecimals));
            put(d_.distanceUnit, DistanceUnit::Kilometres);
        }
    }
    // The trip clock (advanced before the panels) shows from its first minute on.
    if (v.SpeedDisplay != 0 && v.TripClockRunning && v.TripSeconds >= 60) {
        const double minutes = std::trunc(v.TripSeconds / 60);
        const double hours = std::trunc(minutes / 60);
        put(d_.tripTime, number(hours, NumberPattern::TwoDigits) + ":" + number(minutes - hours * 60, NumberPattern::TwoDigits));
    }
    if (v.TripSeconds != 0 && v.DistanceAccumulator != 0)
        put(d_.averageSpeed, number(v.DistanceAccumulator / (v.TripSeconds * 1000), NumberPattern::OneDecimal));

    put(d_.mg1Rpm, number(mg1Rpm(v), NumberPattern::Whole));
}

void DashboardModel::showShiftLever()
{
    if (state_.ShiftLever == shownShiftLever_) return;
    constexpr std::string_view letters = "BDNRP";
    const std::size_t found = state_.ShiftLever.size() == 1 ? letters.find(state_.ShiftLever[0]) : std::string_view::npos;
    put(d_.shiftSelected, found == std::string_view::npos ? -1 : static_cast<int>(found));
    shownShiftLever_ = state_.ShiftLever;
}

void DashboardModel::showConsumption()
{
    const VehicleState& v = state_;
    if (v.InstantConsumption != shownConsumption_) {
        if (v.InstantConsumption == 0) {
            put(d_.consumption, std::string());
            put(d_.consumptionUnitShown, false);
        } else {
            put(d_.consumption, number(v.InstantConsumption, v.InstantConsumption >= shown::ConsumptionOneDecimalFrom
                                                                 ? NumberPattern::OneDecimal
                                                                 : NumberPattern::TwoDecimals));
            put(d_.consumptionUnitShown, true);
        }
        shownConsumption_ = v.InstantConsumption;
    }
    if (v.FuelAccumulator != 0)
        put(d_.litres, number(units::litres(v.FuelAccumulator), NumberPattern::ThreeDecimals));
    if (v.DistanceAccumulator != 0)
        put(d_.tripConsumption, number(units::litresPer100Km(v.FuelAccumulator, v.DistanceAccumulator), NumberPattern::TwoDecimals));
}

void DashboardModel::showMotorTemps()
{
    if (state_.MgTemp != shownMgTemp_) {
        put(d_.mgTemp, number(state_.MgTemp, NumberPattern::Whole));
        shownMgTemp_ = state_.MgTemp;
    }
    if (state_.ExtTemp != shownExtTemp_) {
        put(d_.outsideTemp, number(state_.ExtTemp, NumberPattern::Whole));
        shownExtTemp_ = state_.ExtTemp;
    }
}

void DashboardModel::showEnginePower()
{
    const double torque = state_.EngineRpm > 0 ? state_.EngineTorque : 0;
    put(d_.torque, formatGeneral(torque, decimalSeparator_));
    put(d_.enginePower, number(state_.EngineRpm * torque * GaugePi / 30000, NumberPattern::OneDecimal));
}

void DashboardModel::showBatteryTemp()
{
    if (state_.BatteryTempA == shownBatteryTemp_) return;
    put(d_.batteryTemp, number(state_.BatteryTempA, NumberPattern::Whole));
    batteryTempShown_ = true;
    shownBatteryTemp_ = state_.BatteryTempA;
}

void DashboardModel::showBatteryPower()
{
    if (state_.BatteryVoltage != shownVoltage_) {
        put(d_.voltage, number(state_.BatteryVoltage, NumberPattern::Whole));
        shownVoltage_ = state_.BatteryVoltage;
    }
    const double p = static_cast<std::int32_t>(state_.BatteryVoltage) * static_cast<std::int32_t>(state_.BatteryCurrentAvg) / 10.0;
    if (p == shownPower_) return;
    const bool kw = p <= -shown::PowerInKwFrom || p >= shown::PowerInKwFrom;
    put(d_.batteryPower, kw ? number(p / 1000, NumberPattern::OneDecimal) : number(p, NumberPattern::Whole));
    put(d_.batteryPowerUnit, std::string(kw ? "kW" : "W"));
    shownPower_ = p;
}

void DashboardModel::showTankLevel()
{
    if (state_.FuelTankLevel == shownTank_) return;
    put(d_.tank, number(state_.FuelTankLevel, NumberPattern::TwoDigits));
    shownTank_ = state_.FuelTankLevel;
}

void DashboardModel::showBrake()
{
    if (state_.BrakePedal == shownBrake_) return;
    put(d_.brake, number(state_.BrakePedal / 1.27, NumberPattern::Whole));
    shownBrake_ = state_.BrakePedal;
}

void DashboardModel::refreshOnTick()
{
    showAccelGauge(false);
    showSpeedAndTrip();
    showEngineGauge(false);
    showConsumption();
    showCurrentGauge(false);
    showBatteryPower();
    showBrake();
    showCoolantGauge(false);
    showBatteryTemp();
    showSocGauge(false);
    showShiftLever();
    showEnginePower();
    showMotorTemps();
}

void DashboardModel::redrawNeedles()
{
    showAccelGauge(true);
    showEngineGauge(true);
    showCurrentFigure();
    showCoolantGauge(true);
    showSocGauge(true);
}

void DashboardModel::showClock(const std::string& hhmm) { put(d_.clock, hhmm); }

void DashboardModel::showShares(const std::array<int, 4>& percent)
{
    int sum = 0;
    for (std::size_t i = 0; i < percent.size(); ++i) {
        put(d_.shares[i], number(percent[i], NumberPattern::Whole));
        sum += percent[i];
    }
    put(d_.shares[4], number(100 - sum, NumberPattern::Whole));
}

void DashboardModel::showGpsAltitude(const GpsState& gps)
{
    const double a = gps.altitude;
    put(d_.gpsAltitude, number(a, NumberPattern::OneDecimal));
    if (gps.StartAltitude != 0) put(d_.gpsGain, number(a - gps.StartAltitude, NumberPattern::Whole));
}

void DashboardModel::showGpsTrend(const GpsState& gps)
{
    if (gps.fixMode != 0) put(d_.gpsFix, gps.fixMode);
    put(d_.altitudeTrend, gps.altitudeTrend);
}

void DashboardModel::blinkActivity()
{
    // The tank figure alternates red and white while the tank is low, white after.
    const bool low = state_.FuelTankLevel > 0 && state_.FuelTankLevel < shown::TankLowPercent;
    if (low) {
        tankBlinkOn_ = !(d_.tankTone.revision != 0 && d_.tankTone.value == Tone::Warning);
        put(d_.tankTone, tankBlinkOn_ ? Tone::Warning : Tone::Plain);
    } else if (tankBlinkOn_) {
        put(d_.tankTone, Tone::Plain);
        tankBlinkOn_ = false;
    }
    put(d_.lamp, d_.lamp.value == Lamp::Lit ? Lamp::Dark : Lamp::Lit);
}

void DashboardModel::showSilence() { put(d_.lamp, Lamp::Silent); }

void DashboardModel::showRun(RunState run, bool adapterError)
{
    put(d_.run, run);
    put(d_.adapterError, adapterError);
}

void DashboardModel::showTripTotals(const TripTotals& totals)
{
    using P = NumberPattern;
    put(d_.litres, number(totals.TotalFuelMl / 1000, P::ThreeDecimals));
    put(d_.distance, number(totals.TotalDistanceM / 1000, P::ThreeDecimals));
    put(d_.distanceUnit, DistanceUnit::Kilometres);
    if (totals.TotalDistanceM != 0)
        put(d_.tripConsumption, number(totals.TotalFuelMl * 100 / totals.TotalDistanceM, P::TwoDecimals));
    if (totals.TotalSeconds != 0)
        put(d_.averageSpeed, number(totals.TotalDistanceM * units::PerHourPerThousandthPerSecond / totals.TotalSeconds, P::TwoDecimals));
    // Whole hours and whole minutes: 7199 s is 01:59, never 01:60.
    const double hours = std::floor(totals.TotalSeconds / 3600);
    const double minutes = std::floor((totals.TotalSeconds - hours * 3600) / 60);
    put(d_.tripTime, number(hours, P::TwoDigits) + ":" + number(minutes, P::TwoDigits));
}

} // namespace vcm
