#pragma once
// A plausible drive of a petrol-electric hybrid, in physical units, as a function of
// simulated time. The same seed always gives the same drive.
//
// The drive is a chain of phases drawn from the seed: parked in P with the engine
// warming up, then in D: stops at lights, accelerations to 30..100 km/h, cruising,
// braking (sometimes in B), now and then a parking manoeuvre (N, R, P). The engine
// starts when the power asked for, the speed, a cold engine or a low battery call
// for it and stops when they no longer do; the battery takes what the engine gives
// beyond the road's needs, powers electric drive at low speed and takes back the
// braking energy; the temperatures warm up with use; fuel and distance integrate.
#include "sources/sim/Random.h"

#include <cstdint>

namespace vcm::sim {

enum class Gear : char { P = 'P', R = 'R', N = 'N', D = 'D', B = 'B' };

struct DriveSnapshot {
    double timeMs = 0;
    Gear gear = Gear::P;
    double speedKmh = 0;
    double accelPedal = 0;      // 0..1
    double brakePedal = 0;      // 0..1
    bool engineOn = false;
    double engineRpm = 0;
    double engineTorqueNm = 0;
    double fuelRateLh = 0;      // litres per hour
    double injector = 0;        // injector quantity: litres per hour = injector x rpm / 360000
    double vvtDeg = 0;          // valve timing advance, 0 with the engine off
    double roadPowerKw = 0;     // power at the wheels (negative while braking)
    double batteryCurrentA = 0; // positive = charging
    double batteryVoltage = 0;
    double stateOfChargePct = 0;
    double maxChargeKw = 0, maxDischargeKw = 0;
    double coolantC = 0, batteryTempC = 0, mg1TempC = 0, mg2TempC = 0, outsideTempC = 0;
    double steeringDeg = 0;     // positive = left
    bool evMode = false;        // moving on the battery alone
    double fuelTankLitres = 0;
    double distanceKm = 0;      // since the start of the drive
    double fuelUsedLitres = 0;  // since the start of the drive
};

class DriveModel {
public:
    static constexpr double kStepMs = 10;

    explicit DriveModel(std::uint64_t seed);

    // Runs the model on to time ms (steps of 10 ms); earlier times change nothing.
    void advanceTo(double ms);
    const DriveSnapshot& state() const { return s_; }

private:
    enum class Phase { Parked, Stopped, Accelerating, Cruising, Braking, Manoeuvre };
    void step(double dtS);
    void nextPhase();
    double updateEngine(double dtS, double demandKw); // returns the engine's power, kW
    void updateBattery(double dtS, double batteryKw);
    void updateSteering(double dtS);
    void updateTemperatures(double dtS, double engineKw);

    Random rng_;
    DriveSnapshot s_;
    Phase phase_ = Phase::Parked;
    double phaseLeftS_ = 0;      // time left in timed phases
    double targetKmh_ = 0;
    double rateMs2_ = 0;         // acceleration or deceleration of the phase, m/s^2
    double cruiseBaseKmh_ = 0;
    int cyclesSinceManoeuvre_ = 0;
    bool brakeInB_ = false;
    double engineOnForS_ = 0;
    double steeringPhase_ = 0;
    double steeringAmpDeg_ = 0;
    double outsideBaseC_ = 0;
    double timeS_ = 0;
};

} // namespace vcm::sim
