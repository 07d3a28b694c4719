#include "dashboard/Panels.h"

#include "dashboard/NeedleGeometry.h"

#include <cmath>
#include <numeric>

namespace vcm {

class Panels::Sink final : public DecoderSink {
public:
    explicit Sink(Panels& panels) : panels_(panels) {}
    void setLabel(DecoderLabel label, std::string_view caption) override
    {
        panels_.view_.setText({labelName(label)}, caption);
    }
    void showEngineGauge() override { panels_.showEngineGauge(false); }
    void showConsumption() override { panels_.showConsumption(); }
    void showCurrentGauge() override { panels_.showCurrentGauge(false); }
    void showAccelGauge() override { panels_.showAccelGauge(false); }
    void showTankLevel() override { panels_.showTankLevel(); }

private:
    Panels& panels_;
};

Panels::Panels(VehicleState& state, const MonitorSettings& settings, View& view, const Clock& clock,
               char decimalSeparator)
    : state_(state), settings_(settings), view_(view), clock_(clock), decimalSeparator_(decimalSeparator),
      sink_(std::make_unique<Sink>(*this))
{
}

Panels::~Panels() = default;

DecoderSink& Panels::decoderSink() { return *sink_; }

std::string Panels::number(double value, NumberPattern pattern) const
{
    return formatNumber(value, pattern, decimalSeparator_);
}

// Hide, colour, move, show: the line never flashes at a half-updated position.
void Panels::drawNeedle(std::string_view name, int dialIndex, double angle, std::optional<Color> color)
{
    const Dial& dial = dialIndex == 0 ? LeftDial : RightDial;
    view_.setVisible({name}, false);
    if (color) view_.setForeColor({name}, *color);
    view_.setLine({name}, needleLine(dial, angle, dialScale_));
    view_.setVisible({name}, true);
}

void Panels::showCurrentGauge(bool force)
{
    // Every call is a sample, shown or not; the sum is recomputed once per lap of the
    // ring so it cannot drift.
    currentSum_ += state_.BatteryCurrent - currentRing_[currentSlot_];
    currentRing_[currentSlot_] = state_.BatteryCurrent;
    if (++currentSlot_ > 49) {
        currentSum_ = std::accumulate(currentRing_.begin(), currentRing_.end(), std::int32_t{0});
        currentSlot_ = 0;
    }
    state_.BatteryCurrentAvg = static_cast<std::int16_t>(roundHalfEven(currentSum_ / 50.0));

    if (state_.BatteryCurrentAvg == shownCurrent_ && !force) return;
    drawCurrentNeedle();
}

void Panels::drawCurrentNeedle()
{
    const std::int16_t avg = state_.BatteryCurrentAvg;
    view_.setText({"CurrentValue"}, number(avg / 10.0, avg < 101 ? NumberPattern::OneDecimal : NumberPattern::Whole));
    drawNeedle("AiguilleAmp", 0, currentAngle(avg), avg >= 0 ? colors::Green : colors::Red);
    shownCurrent_ = avg;
}

void Panels::showSocGauge(bool force)
{
    const std::int16_t soc = state_.StateOfCharge;
    if (soc == shownSoc_ && !force) return;
    view_.setText({"StateValue"}, number(soc / 10.0, NumberPattern::OneDecimal));
    drawNeedle("AiguilleSoc", 0, socAngle(soc), soc >= 630 ? colors::Green : colors::Red);
    shownSoc_ = soc;
}

void Panels::showAccelGauge(bool force)
{
    const int s = accelStep(state_.AccelPedal);
    if (s == shownAccel_ && !force) return;
    view_.setText({"AccValue"}, number(s / 2.0, s >= 1 && s < 11 ? NumberPattern::OneDecimal : NumberPattern::Whole));
    drawNeedle("AiguilleAcc", 0, accelAngle(s), std::nullopt);
    shownAccel_ = s;
}

void Panels::showEngineGauge(bool force)
{
    const VehicleState& v = state_;
    if (v.Injector > 85) {
        const double e = v.EngineTorque * 388 / (v.Injector - 85);
        view_.setText({"RendementValue"},
                      v.EngineRpm > 0 && e > 20 && e < 40 ? number(e, NumberPattern::OneDecimal) : std::string());
    }

    const double r = roundHalfEven(v.EngineRpm / 10) * 10;
    if (r == shownRpm_ && !force) return;
    view_.setText({"RpmValue"}, number(r, NumberPattern::WholeOrEmpty));
    if (v.EngineRpm <= 900) {
        view_.setVisible({"AiguilleRpm"}, false);
        view_.setVisible({"RpmUnit"}, false);
    } else {
        drawNeedle("AiguilleRpm", 1, rpmAngle(v.EngineRpm), std::nullopt);
        view_.setVisible({"RpmUnit"}, true);
    }
    shownRpm_ = r;
    // Motor-generator 1 turns at 3.6 x the engine minus 92.09 x the road speed in km/h.
    view_.setText({"RpMg1VAlue"}, number(v.EngineRpm * 3.6 - v.SpeedKmh * 92.09, NumberPattern::Whole));
    placeEngineMapCrossHair();
}

// The map spans 900 to 5000 rpm across and an injector quantity of 1600 (top) to 0
// (bottom) down; it shows only at normal zoom, where it is not covered by the dials.
void Panels::placeEngineMapCrossHair()
{
    const VehicleState& v = state_;
    view_.setVisible({"CartoLineV"}, false);
    view_.setVisible({"CartoLineH"}, false);
    if (v.EngineRpm < 900 || v.EngineRpm > 5000 || dialScale_ != 1) {
        view_.setVisible({"CartoBmp"}, false);
        return;
    }
    view_.setVisible({"CartoBmp"}, true);
    const Rect map = view_.geometry({"CartoBmp"});
    Line vertical = view_.line({"CartoLineV"});
    Line horizontal = view_.line({"CartoLineH"});

    const double x = map.width / 4100 * (v.EngineRpm - 900) + horizontal.x1;
    // Above the map's top value the cross-hair stays on the top edge.
    const double fromTop = v.Injector > 1600 ? 0 : 1600 - v.Injector;
    const double y = map.height / 1600 * fromTop + vertical.y1;
    vertical.x1 = vertical.x2 = x;
    horizontal.y1 = horizontal.y2 = y;
    view_.setLine({"CartoLineV"}, vertical);
    view_.setLine({"CartoLineH"}, horizontal);
    view_.setVisible({"CartoLineV"}, true);
    view_.setVisible({"CartoLineH"}, true);
}

void Panels::showSpeedFigure()
{
    const double speed = state_.SpeedDisplay;
    view_.setText({"SpeedValue"}, number(speed, speed < 50 ? NumberPattern::OneDecimal : NumberPattern::Whole));
}

void Panels::unitsChanged(bool wasMetric, bool wasCelsius)
{
    VehicleState& v = state_;
    if (wasCelsius != settings_.Celsius) {
        // x in the old unit, zero the Fahrenheit figure of 0 degrees C in the same scale.
        auto convert = [this](double x, double zero) {
            return static_cast<std::int16_t>(roundHalfEven(settings_.Celsius ? (x - zero) * 5 / 9 : x * 9 / 5 + zero));
        };
        // Only values that were decoded (and so shown) are in the old unit.
        if (!view_.text({"BattTempValue"}).empty()) {
            v.BatteryTempA = convert(v.BatteryTempA, 32);
            view_.setText({"BattTempValue"}, number(v.BatteryTempA, NumberPattern::Whole));
            shownBatteryTemp_ = v.BatteryTempA;
        }
        if (!view_.text({"CoolantTempValue"}).empty()) {
            v.CoolantTemp = convert(v.CoolantTemp, 320); // tenths
            showCoolantGauge(true);
        }
    }
    if (wasMetric != settings_.MetricUnits) {
        v.SpeedDisplay = settings_.MetricUnits ? v.SpeedKmh : roundHalfEven(v.SpeedKmh / 1.609344);
        if (!view_.text({"SpeedValue"}).empty())
            showSpeedFigure();
    }
}

void Panels::showCoolantGauge(bool force)
{
    const VehicleState& v = state_;
    if (v.CoolantTemp == shownCoolant_ && !force) return;
    const double shown = v.EngineTempRaw >= 16 ? v.CoolantTemp / 10.0 : v.EngineTempRaw;
    view_.setText({"CoolantTempValue"}, number(shown, NumberPattern::OneDecimal));
    // The dial and its colour bands are in Celsius whatever unit the label shows.
    const double c = coolantTenthsCelsius(v.CoolantTemp, settings_.Celsius);
    const Color color = c >= 720 ? colors::Red : c < 400 ? colors::Blue : colors::Green;
    drawNeedle("AiguilleTempTh", 1, coolantAngle(c), color);
    shownCoolant_ = v.CoolantTemp;
}

void Panels::showSpeedAndTrip()
{
    VehicleState& v = state_;
    showSpeedFigure();

    if (v.DistanceAccumulator > 0) {
        if (v.DistanceAccumulator < 3600000) {
            view_.setText({"DistanceValue"}, number(v.DistanceAccumulator / 3600, NumberPattern::Whole));
            if (view_.text({"DistanceLabel"}) == "Km") view_.setText({"DistanceLabel"}, "Mètres");
        } else {
            view_.setText({"DistanceValue"}, number(v.DistanceAccumulator / 3600000, NumberPattern::ThreeDecimals));
            if (view_.text({"DistanceLabel"}) != "Km") view_.setText({"DistanceLabel"}, "Km");
        }
    }

    if (v.SpeedDisplay != 0 && v.TripClockRunning) {
        const DateTime now = clock_.now();
        if (v.TripStart.isZero()) v.TripStart = now;
        v.TripNow = now;
        v.TripSeconds = static_cast<double>(DateTime::secondsBetween(v.TripStart, v.TripNow));
        if (v.TripSeconds >= 60) {
            const double minutes = std::trunc(v.TripSeconds / 60);
            const double hours = std::trunc(minutes / 60);
            view_.setText({"CarTimeValue"}, number(hours, NumberPattern::TwoDigits) + ":" +
                                                number(minutes - hours * 60, NumberPattern::TwoDigits));
        }
    }
    if (v.TripSeconds != 0 && v.DistanceAccumulator != 0)
        view_.setText({"VmoyValue"}, number(v.DistanceAccumulator / (v.TripSeconds * 1000), NumberPattern::OneDecimal));

    view_.setText({"RpMg1VAlue"}, number(v.EngineRpm * 3.6 - v.SpeedKmh * 92.09, NumberPattern::Whole));
}

void Panels::showShiftLever()
{
    if (state_.ShiftLever == shownShiftLever_) return;
    constexpr std::string_view letters = "BDNRP";
    const std::size_t found = state_.ShiftLever.size() == 1 ? letters.find(state_.ShiftLever[0]) : std::string_view::npos;
    const int selected = found == std::string_view::npos ? -1 : static_cast<int>(found);
    for (int i = 0; i < 5; ++i)
        view_.setForeColor({"ShiftStatus", i}, i == selected ? colors::Green : colors::SystemText);
    shownShiftLever_ = state_.ShiftLever;
}

void Panels::showConsumption()
{
    const VehicleState& v = state_;
    if (v.InstantConsumption != shownConsumption_) {
        if (v.InstantConsumption == 0) {
            view_.setText({"MpgValue"}, "");
            view_.setVisible({"MpgUnit"}, false);
        } else {
            view_.setText({"MpgValue"}, number(v.InstantConsumption, v.InstantConsumption >= 5 ? NumberPattern::OneDecimal
                                                                                              : NumberPattern::TwoDecimals));
            view_.setVisible({"MpgUnit"}, true);
        }
        shownConsumption_ = v.InstantConsumption;
    }
    if (v.FuelAccumulator != 0)
        view_.setText({"LitresValue"}, number(v.FuelAccumulator / 1.296e12, NumberPattern::ThreeDecimals));
    if (v.DistanceAccumulator != 0)
        view_.setText({"ConsoSp95Value"}, number(v.FuelAccumulator / (v.DistanceAccumulator * 3600), NumberPattern::TwoDecimals));
}

void Panels::showMotorTemps()
{
    if (state_.MgTemp != shownMgTemp_) {
        view_.setText({"MgTempValue"}, number(state_.MgTemp, NumberPattern::Whole));
        shownMgTemp_ = state_.MgTemp;
    }
    if (state_.ExtTemp != shownExtTemp_) {
        view_.setText({"ExtTempValue"}, number(state_.ExtTemp, NumberPattern::Whole));
        shownExtTemp_ = state_.ExtTemp;
    }
}

void Panels::showEnginePower()
{
    const double torque = state_.EngineRpm > 0 ? state_.EngineTorque : 0;
    view_.setText({"CoupleThValue"}, formatGeneral(torque, decimalSeparator_));
    view_.setText({"ThermkwValue"}, number(state_.EngineRpm * torque * GaugePi / 30000, NumberPattern::OneDecimal));
}

void Panels::showBatteryTemp()
{
    if (state_.BatteryTempA == shownBatteryTemp_) return;
    view_.setText({"BattTempValue"}, number(state_.BatteryTempA, NumberPattern::Whole));
    shownBatteryTemp_ = state_.BatteryTempA;
}

void Panels::showBatteryPower()
{
    if (state_.BatteryVoltage != shownVoltage_) {
        view_.setText({"BattVoltValue"}, number(state_.BatteryVoltage, NumberPattern::Whole));
        shownVoltage_ = state_.BatteryVoltage;
    }
    const double p = static_cast<std::int32_t>(state_.BatteryVoltage) * static_cast<std::int32_t>(state_.BatteryCurrentAvg) / 10.0;
    if (p == shownPower_) return;
    if (p <= -500 || p >= 500) {
        view_.setText({"BattKwValue"}, number(p / 1000, NumberPattern::OneDecimal));
        view_.setText({"BattkwUnit"}, "kW");
    } else {
        view_.setText({"BattKwValue"}, number(p, NumberPattern::Whole));
        view_.setText({"BattkwUnit"}, "W");
    }
    shownPower_ = p;
}

void Panels::showTankLevel()
{
    if (state_.FuelTankLevel == shownTank_) return;
    view_.setText({"TankValue"}, number(state_.FuelTankLevel, NumberPattern::TwoDigits));
    shownTank_ = state_.FuelTankLevel;
}

void Panels::showBrake()
{
    if (state_.BrakePedal == shownBrake_) return;
    view_.setText({"BrakeValue"}, number(state_.BrakePedal / 1.27, NumberPattern::Whole));
    shownBrake_ = state_.BrakePedal;
}

void Panels::refreshOnTick()
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

void Panels::redrawNeedles()
{
    showAccelGauge(true);
    showEngineGauge(true);
    drawCurrentNeedle();
    showCoolantGauge(true);
    showSocGauge(true);
}

} // namespace vcm
