#include "decode/FrameDecoder.h"

#include "common/Format.h"
#include "decode/Units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace vcm {
namespace {

constexpr double kStandingConsumption = 99.9; // l/100 km: burning fuel without moving reads as the worst
constexpr int kAccelDrawnAtOnce = 10; // raw pedal up to this is drawn at once (the foot lifting off)

constexpr std::int32_t kInt16Max = std::numeric_limits<std::int16_t>::max();

// Signed byte.
inline std::int16_t s8(int v) { return static_cast<std::int16_t>(v >= 128 ? v - 256 : v); }

// Signed 12-bit value of the low nibble of hi and all of lo.
inline std::int32_t s12(int hi, int lo)
{
    const int h = hi & 15;
    const int x = h * 256 + lo;
    return h >= 8 ? x - 4096 : x;
}

inline std::int16_t roundedInt16(double v) { return static_cast<std::int16_t>(roundHalfEven(v)); }

} // namespace

FrameDecoder::FrameDecoder(VehicleState& state, const MonitorSettings& settings, const Clock& clock,
                           DecoderSink& sink, char decimalSeparator)
    : state_(state), settings_(settings), clock_(clock), sink_(sink), decimalSeparator_(decimalSeparator)
{
    captionText_.reserve(32);
}

// ---------------------------------------------------------------------------------------
// Line splitting

void FrameDecoder::decodeFrames(std::string_view received)
{
    steeringReference_ = 0;
    lines_.feed(received, settings_.UseElm327 ? AdapterForm::Elm327 : AdapterForm::CanUsb,
                [this](std::string_view line) { decodeLine(line); });
}

void FrameDecoder::decodeLine(std::string_view line)
{
    FrameLine f;
    const bool elm = settings_.UseElm327;
    if (!readFrameLine(line, elm ? AdapterForm::Elm327 : AdapterForm::CanUsb, f)) {
        if (!line.empty()) ++linesIgnored_;
        return;
    }
    if (elm && isCutShort(f)) {
        ++linesIgnored_;
        return;
    }
    ++framesDecoded_;
    if (f.id < framesById_.size()) ++framesById_[f.id];
    state_.LastFrameTime = clock_.now();
    if (!elm) {
        // Only the CANUSB form fills DataByte; bytes above the length keep older values.
        std::copy_n(f.byte.begin() + 1, f.count, state_.DataByte.begin() + 1);
    }
    dispatch(f);
}

bool FrameDecoder::isCutShort(const FrameLine& f)
{
    if (f.id >= longestElmLine_.size() || f.count > 8)
        return false;
    auto& longest = longestElmLine_[f.id];
    if (f.count < longest)
        return true;
    // Only a line of whole bytes tells the identifier's length.
    for (int k = 1; k <= f.count; ++k)
        if (!f.valid(k))
            return false;
    longest = static_cast<std::uint8_t>(f.count);
    return false;
}

void FrameDecoder::dispatch(const FrameLine& f)
{
    switch (f.id) {
    case 0x025: onSteering(f); break;
    case 0x030: onBrake(f); break;
    case 0x038: onFuelRate(f); break;
    case 0x039: onTorqueAndTemp(f); break;
    case 0x03A: onMg1Voltage(f); break;
    case 0x03B: onBattery(f); break;
    case 0x0B4: onSpeed(f); break;
    case 0x244: onAccelerator(f); break;
    case 0x348: onPid348(f); break;
    case 0x3C8: onEngineSpeed(f); break;
    case 0x3CA: if (f.count >= 3) onIntegrationClock(); break;
    case 0x3CB: onBatteryLimits(f); break;
    case 0x3CF: onDriveTemps(f); break;
    case 0x520: onInjector(f); break;
    case 0x526: onValveTiming(f); break;
    case 0x529: onEvMode(f); break;
    case 0x52C: onCoolant(f); break;
    case 0x540: onShiftLever(f); break;
    case 0x5A4: onTankLevel(f); break;
    case 0x5EC: onMg2Temp(f); break;
    case 0x7EA:
        // Diagnostic replies: only the CANUSB sends the requests, and only its form
        // carries DataByte; a 7EA line seen by the ELM327 is ignored.
        if (!settings_.UseElm327) diag_.onFrame(state_, state_.DataByte, f.count);
        break;
    default: break; // no handler
    }
}

// ---------------------------------------------------------------------------------------
// Handlers. Each heading: identifier, period on the car, bytes read (1-based), unit.

// 0x025  13 ms  steering
//   bytes 1-2  s12 steering sensor, tenths of a degree
//   bytes 3-4  s12 reference the angle is measured from (kept for the rest of the call)
void FrameDecoder::onSteering(const FrameLine& f)
{
    if (f.count < 4) return;
    if (f.valid(3) && f.valid(4)) steeringReference_ = s12(f.at(3), f.at(4));
    if (!f.valid(1) || !f.valid(2)) return;
    state_.SteeringAngle = s12(f.at(1), f.at(2)) - steeringReference_;
    captionOneDecimal(DecoderLabel::SteeringAngle, state_.SteeringAngle / 10.0);
}

// 0x030  6 ms  brake
//   byte 5  brake pedal, raw 0..255
void FrameDecoder::onBrake(const FrameLine& f)
{
    if (f.count < 5) return;
    if (f.valid(5)) state_.BrakePedal = f.at(5);
}

// 0x038  8 ms  fuel flow
//   byte 2  litres per hour x 10
void FrameDecoder::onFuelRate(const FrameLine& f)
{
    if (f.count < 2) return;
    if (f.valid(2)) state_.FuelRateLh = f.at(2) / 10.0;
    captionOneDecimal(DecoderLabel::FuelFlow, state_.FuelRateLh);
}

// 0x039  8 ms  engine torque and temperature
//   byte 1  s8 engine temperature, degrees
//   byte 3  torque / 2
void FrameDecoder::onTorqueAndTemp(const FrameLine& f)
{
    if (f.count < 3) return;
    if (f.valid(3)) state_.EngineTorque = f.at(3) * 2.0;
    if (f.valid(1)) state_.EngineTempRaw = f.at(1);
    state_.EngineTempRaw = s8(state_.EngineTempRaw);
    captionWhole(DecoderLabel::EngineTemperature, state_.EngineTempRaw);
}

// 0x03A  8 ms  MG1 voltage
//   byte 1  sign: non-zero means negative
//   byte 2  magnitude, volts (two's complement with byte 1)
void FrameDecoder::onMg1Voltage(const FrameLine& f)
{
    if (f.count < 2 || !f.valid(1) || !f.valid(2)) return;
    state_.Mg1Voltage = static_cast<std::int16_t>(f.at(1) != 0 ? f.at(2) - 256 : f.at(2));
    captionWhole(DecoderLabel::Mg1Voltage, state_.Mg1Voltage);
}

// 0x03B  8 ms  traction battery
//   bytes 1-2  s12 current, tenths of an ampere, positive = discharging (stored negated)
//   bytes 3-4  voltage, volts (a value above 32767 is not stored)
void FrameDecoder::onBattery(const FrameLine& f)
{
    if (f.count < 4) return;
    for (int k = 1; k <= 4; ++k)
        if (!f.valid(k)) return;
    state_.BatteryCurrent = static_cast<std::int16_t>(-s12(f.at(1), f.at(2)));
    const std::int32_t volts = f.at(3) * 256 + f.at(4);
    if (volts <= kInt16Max) state_.BatteryVoltage = static_cast<std::int16_t>(volts);
    sink_.showCurrentGauge();
}

// 0x0B4  14 ms  vehicle speed
//   bytes 6-7  km/h x 100 (a value above 32767 is not stored)
void FrameDecoder::onSpeed(const FrameLine& f)
{
    if (f.count < 7 || !f.valid(6) || !f.valid(7)) return;
    const std::int32_t v = f.at(6) * 256 + f.at(7);
    if (v > kInt16Max) return;
    state_.SpeedKmh = v / 100.0;
    state_.SpeedDisplay = settings_.MetricUnits ? state_.SpeedKmh : roundHalfEven(units::kmToMiles(state_.SpeedKmh));
}

// 0x244  25 ms  accelerator
//   byte 7  pedal, raw 0..255; small values are drawn at once, larger ones by the main tick
void FrameDecoder::onAccelerator(const FrameLine& f)
{
    if (f.count < 7) return;
    if (f.valid(7)) state_.AccelPedal = f.at(7);
    if (state_.AccelPedal <= kAccelDrawnAtOnce) sink_.showAccelGauge();
}

// 0x348  44 ms
//   bytes 3-4  value x 10
void FrameDecoder::onPid348(const FrameLine& f)
{
    if (f.count < 4 || !f.valid(3) || !f.valid(4)) return;
    state_.Pid348Value = roundedInt16((f.at(3) * 256 + f.at(4)) / 10.0);
}

// 0x3C8  70 ms  engine speed
//   byte 3  rpm / 32
void FrameDecoder::onEngineSpeed(const FrameLine& f)
{
    if (f.count < 3 || !f.valid(3)) return;
    state_.EngineRpm = f.at(3) * 32.0;
    fuelStep(state_.EngineRpm > 0);
    consumptionUpdate(false);
    sink_.showEngineGauge();
    sink_.showConsumption();
}

// 0x3CA  108 ms  no byte read: the frame is the clock of fuel and distance integration
void FrameDecoder::onIntegrationClock()
{
    fuelStep(true);
    consumptionUpdate(false);
    distanceStep();
}

// 0x3CB  108 ms  battery limits and charge
//   byte 1     maximum charge (label only)
//   byte 2     maximum discharge (label only)
//   bytes 3-4  state of charge, half-percent (stored x 5 in tenths of a percent;
//              a product above 32767 is not stored)
//   byte 5     unused, must be valid
//   byte 6     s8 battery temperature, degrees Celsius
void FrameDecoder::onBatteryLimits(const FrameLine& f)
{
    if (f.count < 6) return;
    for (int k = 1; k <= 6; ++k)
        if (!f.valid(k)) return;
    captionWhole(DecoderLabel::ChargeLimit, f.at(1));
    captionWhole(DecoderLabel::DischargeLimit, f.at(2));
    const std::int32_t soc = (f.at(3) * 256 + f.at(4)) * 5;
    if (soc <= kInt16Max) state_.StateOfCharge = static_cast<std::int16_t>(soc);
    state_.BatteryTempA = s8(f.at(6));
    if (!settings_.Celsius) state_.BatteryTempA = roundedInt16(celsiusToFahrenheit(state_.BatteryTempA));
}

// 0x3CF  139 ms  drive temperatures, always Celsius
//   byte 2  s8 outside temperature
//   byte 3  s8 motor-generator temperature
void FrameDecoder::onDriveTemps(const FrameLine& f)
{
    if (f.count < 3) return;
    if (f.valid(3)) state_.MgTemp = s8(f.at(3));
    if (f.valid(2)) state_.ExtTemp = s8(f.at(2));
}

// 0x520  2231 ms  injector
//   bytes 2-3  injector quantity, raw 16-bit (cleared first, even when the frame is short)
void FrameDecoder::onInjector(const FrameLine& f)
{
    state_.Injector = 0;
    if (f.count < 3 || !f.valid(2) || !f.valid(3)) return;
    state_.Injector = f.at(2) * 256.0 + f.at(3);
    fuelStep(true);
    consumptionUpdate(true);
    sink_.showConsumption();
}

// 0x526  530 ms  valve timing
//   byte 2  (angle + 16) x 2 (cleared first, even when the frame is short)
void FrameDecoder::onValveTiming(const FrameLine& f)
{
    state_.VvtiAngle = 0;
    if (f.count < 2) return;
    if (f.valid(2)) state_.VvtiAngle = f.at(2) / 2.0 - 16;
    captionGeneral(DecoderLabel::ValveTiming, state_.VvtiAngle);
}

// 0x529  1000 ms  EV mode
//   byte 5  0x40 while the EV mode is on
void FrameDecoder::onEvMode(const FrameLine& f)
{
    if (f.count < 5) return;
    state_.EvMode = f.at(5) == 0x40;
}

// 0x52C  1050 ms  coolant
//   byte 2  degrees Celsius x 2 (stored in tenths, Fahrenheit tenths with US units)
void FrameDecoder::onCoolant(const FrameLine& f)
{
    if (f.count < 2 || !f.valid(2)) return;
    const int tenths = f.at(2) * 5;
    state_.CoolantTemp = settings_.Celsius ? static_cast<std::int16_t>(tenths) : roundedInt16(units::tenthsCelsiusToFahrenheit(tenths));
}

// 0x540  1049 ms  shift lever
//   byte 2  0x80 P, 0x40 R, 0x20 N, 0x10 or 0x56 D, 0x00 or 0x5D B; other values keep the letter
void FrameDecoder::onShiftLever(const FrameLine& f)
{
    if (f.count < 2) return;
    char letter;
    switch (f.at(2)) {
    case 0x5D: case 0x00: letter = 'B'; break;
    case 0x40: letter = 'R'; break;
    case 0x20: letter = 'N'; break;
    case 0x56: case 0x10: letter = 'D'; break;
    case 0x80: letter = 'P'; break;
    default: return;
    }
    state_.ShiftLever.assign(1, letter);
}

// 0x5A4  3400 ms  fuel tank
//   byte 2  level / 2.5
void FrameDecoder::onTankLevel(const FrameLine& f)
{
    if (f.count < 2) return;
    if (f.valid(2)) state_.FuelTankLevel = roundedInt16(f.at(2) * 2.5);
    sink_.showTankLevel();
}

// 0x5EC  526 ms  second motor-generator temperature
//   byte 6  degrees Celsius, unsigned (label only)
void FrameDecoder::onMg2Temp(const FrameLine& f)
{
    if (f.count < 6 || !f.valid(6)) return;
    captionWhole(DecoderLabel::Mg2Temperature, f.at(6));
}

// ---------------------------------------------------------------------------------------
// Integration against the millisecond tick count

// Weighs the time since the last step with the flow that held before this frame.
void FrameDecoder::fuelStep(bool accumulate)
{
    const double t = clock_.tickCount();
    if (accumulate) state_.FuelAccumulator += (t - state_.LastFuelTick) * state_.FuelFlowRate;
    state_.FuelFlowRate = state_.Injector * state_.EngineRpm;
    state_.LastFuelTick = t;
}

// Litres per 100 km while moving; the top of the scale standing with the engine running.
void FrameDecoder::consumptionUpdate(bool clearsEvMode)
{
    if (state_.SpeedDisplay > 0) {
        state_.InstantConsumption = units::instantLitresPer100Km(state_.Injector, state_.EngineRpm, state_.SpeedDisplay);
        if (clearsEvMode) state_.EvMode = false;
    } else {
        state_.InstantConsumption = state_.EngineRpm > 0 ? kStandingConsumption : 0;
    }
}

// Elapsed milliseconds as a 32-bit whole number, times the speed in km/h.
void FrameDecoder::distanceStep()
{
    const double t = clock_.tickCount();
    double dt = roundHalfEven(t - state_.LastDistanceTick);
    if (!(dt >= std::numeric_limits<std::int32_t>::min())) dt = std::numeric_limits<std::int32_t>::min();
    if (dt > std::numeric_limits<std::int32_t>::max()) dt = std::numeric_limits<std::int32_t>::max();
    state_.LastDistanceTick = t;
    state_.DistanceAccumulator += dt * state_.SpeedKmh;
}

// ---------------------------------------------------------------------------------------
// Captions

bool FrameDecoder::captionChanged(DecoderLabel label, double shown)
{
    const auto i = static_cast<std::size_t>(label);
    if (captionKnown_[i] && shownCaption_[i] == shown) return false;
    captionKnown_[i] = true;
    shownCaption_[i] = shown;
    return true;
}

void FrameDecoder::captionOneDecimal(DecoderLabel label, double value)
{
    if (!captionChanged(label, value)) return;
    captionText_.clear();
    appendNumber(captionText_, value, NumberPattern::OneDecimal, decimalSeparator_);
    sink_.setLabel(label, captionText_);
}

void FrameDecoder::captionWhole(DecoderLabel label, int value)
{
    if (!captionChanged(label, value)) return;
    char buf[16];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    (void)ec;
    sink_.setLabel(label, std::string_view(buf, static_cast<std::size_t>(end - buf)));
}

void FrameDecoder::captionGeneral(DecoderLabel label, double value)
{
    if (!captionChanged(label, value)) return;
    captionText_ = formatGeneral(value, decimalSeparator_);
    sink_.setLabel(label, captionText_);
}

} // namespace vcm
