#pragma once
// The live values decoded from the car's bus. The frame decoder writes them, the current
// average and the trip clock keep a few derived fields, the main tick, the dashboard, the
// logs and the trip summary read them. Units as decoded: several values are
// whole numbers in tenths and are divided by ten only when shown; temperatures and the
// display speed follow the unit settings at decoding time.
#include "common/DateTime.h"

#include <array>
#include <cstdint>
#include <string>

namespace vcm {

struct VehicleState {
    // Engine and drive
    double EngineRpm = 0;            // rpm, multiples of 32 (3C8 byte 3 x 32)
    double SpeedKmh = 0;             // km/h, 0.01 resolution (0B4 bytes 6-7 / 100)
    double SpeedDisplay = 0;         // km/h, or whole mph with US units
    double Injector = 0;             // injector quantity, raw 16-bit (520 bytes 2-3)
    double EngineTorque = 0;         // 039 byte 3 x 2
    std::int16_t EngineTempRaw = 0;  // 039 byte 1, signed
    std::int16_t CoolantTemp = 0;    // tenths of a degree (52C byte 2 x 5), F when !Celsius
    double VvtiAngle = 0;            // 526 byte 2 / 2 - 16
    double FuelRateLh = 0;           // litres per hour (038 byte 2 / 10)
    std::int16_t Pid348Value = 0;    // (348 bytes 3-4) / 10 rounded
    std::int32_t SteeringAngle = 0;  // tenths of a degree (025)
    std::string ShiftLever;          // "P", "R", "N", "D", "B" or "" before the first 540
    bool EvMode = false;             // 529 byte 5 = "40"
    std::int16_t Mg1Voltage = 0;     // 03A

    // Battery
    std::int16_t BatteryCurrent = 0;    // tenths of an ampere (03B), positive = charging
    std::int16_t BatteryCurrentAvg = 0; // moving average of 50 samples (CurrentAverage)
    std::int16_t BatteryVoltage = 0;    // volts (03B bytes 3-4)
    std::int16_t StateOfCharge = 0;     // tenths of a percent (3CB bytes 3-4 x 5)
    std::int16_t BatteryTempA = 0;      // degrees (3CB byte 6), F when !Celsius

    // Temperatures of the drive, always Celsius
    std::int16_t ExtTemp = 0;        // 3CF byte 2
    std::int16_t MgTemp = 0;         // 3CF byte 3

    // Pedals and tank
    std::int16_t AccelPedal = 0;     // raw 0..255 (244 byte 7)
    std::int16_t BrakePedal = 0;     // raw 0..255 (030 byte 5)
    std::int16_t FuelTankLevel = 0;  // 5A4 byte 2 x 2.5 rounded

    // Integration of fuel and distance against the millisecond tick count
    double FuelFlowRate = 0;         // Injector x EngineRpm
    double FuelAccumulator = 0;      // sum of ms x FuelFlowRate; litres = / 1.296e12
    double LastFuelTick = 0;
    double DistanceAccumulator = 0;  // sum of ms x SpeedKmh; metres = / 3600
    double LastDistanceTick = 0;
    double InstantConsumption = 0;   // L/100 km (99.9 standing with the engine running)

    // Trip time, kept by the trip clock while acquisition runs (frozen after Stop)
    DateTime TripStart;              // zero until the car first moves in this run
    DateTime TripNow;
    double TripSeconds = 0;
    bool TripClockRunning = false;

    // Diagnostic replies (CANUSB only): decimal byte values separated by ';'
    std::string DiagReplyKind;       // "C3" or "C4"
    std::string C3Head, C4Head;      // "12;0;255;3"
    std::array<std::string, 5> DiagPart{}; // consecutive frames 21..25: ";a;b;c;d;e;f;g"
    std::string C3Body, C4Body;

    // Decoder scratch
    std::array<std::int16_t, 9> DataByte{}; // CANUSB data bytes 1..8 of the current frame
    DateTime LastFrameTime;          // now, when a line was last accepted as a frame
};

// Resets the trip integrators when acquisition starts. The last run's speed and engine
// figures go too: until the car's first frames arrive, nothing is known of them, and
// the first rows and the distance integral must not carry the old values on.
inline void resetTrip(VehicleState& v, double tick)
{
    v.SpeedKmh = 0;
    v.SpeedDisplay = 0;
    v.EngineRpm = 0;
    v.Injector = 0;
    v.TripSeconds = 0;
    v.DistanceAccumulator = 0;
    v.FuelAccumulator = 0;
    v.FuelFlowRate = 0;
    v.LastDistanceTick = tick;
    v.LastFuelTick = tick;
    v.TripStart = DateTime();
}

inline double celsiusToFahrenheit(double x) { return x * 9 / 5 + 32; } // units::celsiusToFahrenheit

} // namespace vcm
