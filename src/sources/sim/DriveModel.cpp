#include "sources/sim/DriveModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vcm::sim {

namespace {
constexpr double kMassKg = 1450;
constexpr double kAuxKw = 0.3;              // lights, pumps, electronics
constexpr double kBatteryAh = 6.5;
constexpr double kEngineMaxKw = 57;
constexpr double kWarmCoolantC = 40;        // below this the engine runs to warm up

double clamp(double v, double lo, double hi) { return std::min(std::max(v, lo), hi); }
} // namespace

DriveModel::DriveModel(std::uint64_t seed) : rng_(seed)
{
    outsideBaseC_ = rng_.between(4, 26);
    s_.outsideTempC = outsideBaseC_;
    s_.coolantC = outsideBaseC_ + rng_.between(0, 6);
    s_.batteryTempC = outsideBaseC_ + 3;
    s_.mg1TempC = outsideBaseC_ + 2;
    s_.mg2TempC = outsideBaseC_ + 2;
    s_.stateOfChargePct = rng_.between(52, 62);
    s_.batteryVoltage = 205;
    s_.fuelTankLitres = rng_.between(18, 40);
    s_.maxChargeKw = 25;
    s_.maxDischargeKw = 21;
    phase_ = Phase::Parked;
    phaseLeftS_ = rng_.between(4, 6);
}

void DriveModel::advanceTo(double ms)
{
    while (s_.timeMs + kStepMs <= ms) {
        step(kStepMs / 1000.0);
        s_.timeMs += kStepMs;
    }
}

void DriveModel::nextPhase()
{
    switch (phase_) {
    case Phase::Parked:
    case Phase::Manoeuvre:
        s_.gear = Gear::D;
        phase_ = Phase::Stopped;
        phaseLeftS_ = rng_.between(1.5, 3);
        break;
    case Phase::Stopped:
        s_.gear = Gear::D;
        phase_ = Phase::Accelerating;
        targetKmh_ = std::round(rng_.between(30, 100));
        rateMs2_ = rng_.between(1.0, 2.5);
        break;
    case Phase::Accelerating:
        phase_ = Phase::Cruising;
        cruiseBaseKmh_ = targetKmh_;
        phaseLeftS_ = rng_.between(8, 40);
        break;
    case Phase::Cruising:
        if (rng_.chance(0.35)) {
            // A change of pace without stopping.
            double newTarget = std::round(rng_.between(25, 110));
            targetKmh_ = newTarget;
            rateMs2_ = newTarget > cruiseBaseKmh_ ? rng_.between(0.8, 2.0) : rng_.between(0.8, 2.5);
            phase_ = newTarget > cruiseBaseKmh_ ? Phase::Accelerating : Phase::Braking;
        } else {
            targetKmh_ = 0;
            rateMs2_ = rng_.between(1.2, 3.0);
            phase_ = Phase::Braking;
            brakeInB_ = cruiseBaseKmh_ > 60 && rng_.chance(0.4);
            if (brakeInB_) s_.gear = Gear::B;
        }
        break;
    case Phase::Braking:
        s_.gear = Gear::D;
        if (targetKmh_ > 0) {
            phase_ = Phase::Cruising;
            cruiseBaseKmh_ = targetKmh_;
            phaseLeftS_ = rng_.between(8, 30);
        } else if (++cyclesSinceManoeuvre_ >= 4 && rng_.chance(0.5)) {
            cyclesSinceManoeuvre_ = 0;
            phase_ = Phase::Manoeuvre;
            phaseLeftS_ = 16;
        } else {
            phase_ = Phase::Stopped;
            phaseLeftS_ = rng_.between(3, 15);
        }
        break;
    }
}

void DriveModel::step(double dt)
{
    timeS_ += dt;
    const double oldMs = s_.speedKmh / 3.6;
    double v = oldMs;
    double accelPedal = 0, brakePedal = 0;

    switch (phase_) {
    case Phase::Parked:
        v = 0;
        phaseLeftS_ -= dt;
        if (phaseLeftS_ <= 0) nextPhase();
        break;
    case Phase::Stopped:
        v = 0;
        brakePedal = 0.4;
        phaseLeftS_ -= dt;
        if (phaseLeftS_ <= 0) nextPhase();
        break;
    case Phase::Accelerating: {
        double gap = targetKmh_ / 3.6 - v;
        v += rateMs2_ * clamp(gap / 3.0 + 0.15, 0.15, 1.0) * dt;
        if (v >= targetKmh_ / 3.6 - 0.15) nextPhase();
        break;
    }
    case Phase::Cruising: {
        double wanted = cruiseBaseKmh_ + 2.5 * std::sin(timeS_ / 6.0);
        v += clamp(wanted / 3.6 - v, -0.5, 0.5) * dt;
        phaseLeftS_ -= dt;
        if (phaseLeftS_ <= 0) nextPhase();
        break;
    }
    case Phase::Braking:
        v -= rateMs2_ * dt;
        brakePedal = clamp(rateMs2_ / 4.0 + 0.1, 0, 1);
        if (v <= targetKmh_ / 3.6) {
            v = targetKmh_ / 3.6;
            nextPhase();
        }
        break;
    case Phase::Manoeuvre: {
        // N for 2 s, R backing up for 6 s, then P for 6 s, then D again.
        double elapsed = 16 - phaseLeftS_;
        if (elapsed < 2) {
            s_.gear = Gear::N;
            v = 0;
            brakePedal = 0.4;
        } else if (elapsed < 9) {
            s_.gear = Gear::R;
            double x = (elapsed - 2.5) / 6.0; // 0..1 over the backing up
            v = (x > 0 && x < 1) ? 1.4 * std::sin(x * std::numbers::pi) : 0;
            accelPedal = v > 0.1 ? 0.1 : 0;
            brakePedal = v > 0.1 ? 0 : 0.4;
        } else {
            s_.gear = Gear::P;
            v = 0;
        }
        phaseLeftS_ -= dt;
        if (phaseLeftS_ <= 0) nextPhase();
        break;
    }
    }
    v = std::max(v, 0.0);
    const double accel = (v - oldMs) / dt;
    s_.speedKmh = v * 3.6;

    // Power at the wheels: inertia, air drag, rolling resistance.
    double forceN = kMassKg * accel + 0.5 * 1.2 * 0.58 * v * v + (v > 0.05 ? 0.011 * kMassKg * 9.81 : 0);
    s_.roadPowerKw = forceN * v / 1000.0;
    double demandKw = std::max(s_.roadPowerKw, 0.0);
    if (phase_ == Phase::Accelerating || phase_ == Phase::Cruising)
        accelPedal = clamp(demandKw / 60.0 + 0.06, 0, 1);
    s_.accelPedal = accelPedal;
    s_.brakePedal = brakePedal;

    double engineKw = updateEngine(dt, demandKw);

    // The battery takes what the engine gives beyond the road's needs, pays for the
    // rest, and takes back part of the braking energy.
    double batteryKw;
    if (s_.engineOn)
        batteryKw = engineKw - demandKw - kAuxKw - (s_.speedKmh < 1 && s_.coolantC < kWarmCoolantC ? 1.5 : 0);
    else
        batteryKw = -demandKw - kAuxKw;
    if (s_.roadPowerKw < 0) batteryKw += -s_.roadPowerKw * 0.65;
    batteryKw = clamp(batteryKw, -s_.maxDischargeKw - 10, s_.maxChargeKw);
    updateBattery(dt, batteryKw);
    updateTemperatures(dt, engineKw);
    updateSteering(dt);

    s_.evMode = !s_.engineOn && s_.speedKmh > 0.5 && s_.gear != Gear::P && s_.gear != Gear::N;
    s_.distanceKm += s_.speedKmh / 3600.0 * dt;
    double fuel = s_.fuelRateLh / 3600.0 * dt;
    s_.fuelUsedLitres += fuel;
    s_.fuelTankLitres = std::max(0.0, s_.fuelTankLitres - fuel);
}

double DriveModel::updateEngine(double dt, double demandKw)
{
    const double soc = s_.stateOfChargePct;
    const bool braking = phase_ == Phase::Braking;
    const bool cold = s_.coolantC < kWarmCoolantC && timeS_ > 1.5;
    const double evLimitKmh = soc > 65 ? 62 : 52; // a full battery drives further on its own
    bool want = cold || (!braking && (demandKw > 14 || s_.speedKmh > evLimitKmh || soc < 48));
    if (s_.engineOn && !braking && (demandKw > 7 || s_.speedKmh > evLimitKmh - 7 || soc < 52)) want = true;
    if (s_.engineOn && engineOnForS_ < 5) want = true; // no start-stop flapping
    if (want != s_.engineOn) {
        s_.engineOn = want;
        engineOnForS_ = 0;
    }
    engineOnForS_ += dt;

    double engineKw = 0;
    if (s_.engineOn) {
        // Charge a low battery, let a full one help the engine.
        double chargeKw = clamp((58 - soc) * 0.8, -4, 6);
        double warmKw = s_.speedKmh < 1 && s_.coolantC < kWarmCoolantC ? 1.5 : 0;
        engineKw = clamp(demandKw + chargeKw + kAuxKw + warmKw, 2, kEngineMaxKw);
        double targetRpm = std::min(1000 + engineKw * 55, 4500.0);
        s_.engineRpm += (targetRpm - s_.engineRpm) * std::min(1.0, dt / 0.5);
    } else {
        s_.engineRpm -= s_.engineRpm * std::min(1.0, dt / 0.25);
        if (s_.engineRpm < 250) s_.engineRpm = 0;
    }
    const bool firing = s_.engineOn && s_.engineRpm > 500;
    if (!firing) engineKw = 0;
    s_.engineTorqueNm = firing ? clamp(engineKw * 1000 / (s_.engineRpm * 2 * std::numbers::pi / 60), 0, 140) : 0;
    s_.fuelRateLh = firing ? 0.5 + 0.3 * engineKw : 0;
    s_.injector = firing ? s_.fuelRateLh * 360000 / s_.engineRpm : 0;
    s_.vvtDeg = firing ? 4 + 30 * std::min(1.0, engineKw / 40) : 0;
    return engineKw;
}

void DriveModel::updateBattery(double dt, double batteryKw)
{
    const double soc = s_.stateOfChargePct;
    double volts = 205 + (soc - 60) * 0.5 + s_.batteryCurrentA * 0.08;
    s_.batteryVoltage = clamp(volts, 180, 240);
    s_.batteryCurrentA = batteryKw * 1000 / s_.batteryVoltage;
    s_.stateOfChargePct = clamp(soc + s_.batteryCurrentA * dt / 3600.0 / kBatteryAh * 100, 0, 100);
    s_.maxChargeKw = 25 - std::max(0.0, soc - 70) * 1.5;
    s_.maxDischargeKw = 21 - std::max(0.0, 45 - soc) * 1.5;
}

void DriveModel::updateTemperatures(double dt, double engineKw)
{
    s_.outsideTempC = outsideBaseC_ + 0.5 * std::sin(timeS_ / 600.0);
    const double outside = s_.outsideTempC;
    if (s_.engineOn) {
        if (s_.coolantC < 88)
            s_.coolantC += dt * (0.12 + 0.012 * engineKw);
        else
            s_.coolantC += (90 - s_.coolantC) * dt * 0.05;
    } else {
        s_.coolantC -= (s_.coolantC - outside) * dt * 0.0015;
    }
    const double amps = std::abs(s_.batteryCurrentA);
    s_.batteryTempC += dt * (amps * 0.0004 - (s_.batteryTempC - outside - 5) * 0.0003);
    const double motorKw = std::abs(s_.roadPowerKw);
    s_.mg1TempC += dt * (s_.engineOn ? 0.01 : 0) + dt * (-(s_.mg1TempC - outside - 10) * 0.002);
    s_.mg2TempC += dt * (motorKw * 0.002 - (s_.mg2TempC - outside - 10) * 0.002);
}

void DriveModel::updateSteering(double dt)
{
    // Wide turns at walking pace, small corrections on the road, wheel held when stopped.
    const double kmh = s_.speedKmh;
    double targetAmp = s_.gear == Gear::R ? 150 : kmh < 20 ? 60 : kmh < 50 ? 15 : 4;
    if (kmh > 0.5) {
        steeringAmpDeg_ += (targetAmp - steeringAmpDeg_) * std::min(1.0, dt / 2.0);
        steeringPhase_ += dt * 2 * std::numbers::pi / (kmh < 20 ? 9.0 : 14.0);
    }
    s_.steeringDeg = steeringAmpDeg_ * std::sin(steeringPhase_);
}

} // namespace vcm::sim
