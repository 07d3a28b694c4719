#pragma once
// A short drive written by the logger's own row writer: six rows a second apart, with
// figures small enough to work out by hand (see ValueLogTest.cpp).
#include "common/DateTime.h"
#include "config/MonitorSettings.h"
#include "logging/LogFormat.h"

#include <string>

namespace vcm::test {

struct DriveRow {
    double speedKmh, rpm, currentA, injector, brake, distanceM, fuelMl;
};

// speed, rpm, current, injector, brake, metres, millilitres; 200 V throughout.
inline constexpr DriveRow HandDrive[] = {
    {0, 0, 0, 0, 0, 0, 0},            // standing, first row: counts no time
    {36, 1216, -10, 100, 0, 100, 10}, // thermal (fuel injected), discharging 2 kW
    {36, 0, -20, 0, 0, 200, 10},      // electric, discharging 4 kW
    {18, 0, 45, 0, 5, 250, 10},       // braking, regenerating 9 kW
    {18, 0, 0, 0, 5, 300, 20},        // braking, gliding
    {0, 0, 0, 0, 0, 300, 20},         // standstill
};

struct DriveLogOptions {
    bool metric = true, elm327 = true, gps = false;
    char decimal = '.';
    double firstTickMs = 5000;
    DateTime start = DateTime::fromCivil({2026, 12, 4, 9, 10, 5});
    std::size_t repeat = 1;  // rows written: repeat x 6 (later copies one second on)
};

inline std::string driveLog(const DriveLogOptions& o, bool withHeader = true)
{
    MonitorSettings s;
    s.MetricUnits = o.metric;
    s.UseElm327 = o.elm327;
    s.EnableGPS = o.gps;
    s.PortNumGPS = o.gps ? 3 : 0;
    std::string text = withHeader ? logHeader(s) + "\r\n" : std::string();
    GpsState gps;
    gps.GpsLatitude = o.decimal == ',' ? "53,361337" : "53.361337";
    gps.GpsLongitude = o.decimal == ',' ? "-6,50562" : "-6.50562";
    gps.GpsAltitude = "61,7";
    for (std::size_t i = 0; i < o.repeat * std::size(HandDrive); ++i) {
        const DriveRow& r = HandDrive[i % std::size(HandDrive)];
        VehicleState v;
        v.SpeedDisplay = o.metric ? r.speedKmh : (r.speedKmh == 36 ? 22 : r.speedKmh == 18 ? 11 : 0);  // whole mph
        v.EngineRpm = r.rpm;
        v.BatteryCurrent = static_cast<std::int16_t>(r.currentA * 10);
        v.BatteryVoltage = 200;
        v.Injector = r.injector;
        v.BrakePedal = static_cast<std::int16_t>(r.brake);
        v.DistanceAccumulator = r.distanceM * 3600;
        v.FuelAccumulator = r.fuelMl * 1296000000.0;
        v.ShiftLever = "D";
        if (!o.elm327) {
            v.C3Head = "97;195;";
            v.C3Body = "1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16;17;18;19;20;21;22;23;24;25;26;27;28;29;30;31;32;33;34;35;36;37";
            v.C4Head = "97;196;";
            v.C4Body = "1;2;3";
        }
        const auto seconds = static_cast<std::int64_t>(i);
        appendLogRow(text, LogRowInputs{v, gps, s, DateTime::fromSeconds(o.start.seconds() + seconds),
                                        o.firstTickMs + 1000.0 * static_cast<double>(i), 0, o.decimal});
        text += "\r\n";
    }
    return text;
}

} // namespace vcm::test
