// The value log's header and rows, checked against the texts a driver finds in the
// file (both unit systems, both adapters, with and without GPS columns).
#include "logging/LogFormat.h"

#include <gtest/gtest.h>

using namespace vcm;

namespace {

const std::string kCommonNames = "Courant(A);TempBatt(°C);VoltBatt(V);SOC(%);Réserv(%);Accel.;Frein;EV Mode;Pid348;"
                                 "Inject;VoltMg1;Vvti;Shift lever;Timer;Distance;Lmoy/100;Lmoy/minute;Litres;"
                                 "Couple Therm; l/h";
const std::string kMetricHeader = "Date;Heure;km/h;Tpm;L/100;Temp Eau(°C);" + kCommonNames;
const std::string kGpsNames = ";GPS Latitude;GPS Longitude;GPS Altitude;GPS Speed;GPS Direction;Nbre Sat";

constexpr const char* AllDiagnosticNames =
    ";C3_01;C3_02;C3_03;C3_04;C3_05;C3_06;C3_07;C3_08;C3_09;C3_10;C3_11;C3_12;C3_13;C3_14;C3_15;C3_16;C3_17;C3_18;C3_19;C3"
    "_20;C3_21;C3_22;C3_23;C3_24;C3_25;C3_26;C3_27;C3_28;C3_29;C3_30;C3_31;C3_32;C3_33;C3_34;C3_35;C3_36;C3_37;C3_38;C3_39"
    ";C4_01;C4_02;C4_03;C4_04;C4_05;C4_06;C4_07;C4_08;C4_09;C4_10;C4_11;C4_12;C4_13;C4_14;C4_15;C4_16;C4_17;C4_18";

// The row's diagnostic part for kCruisingCar: C3 "97;193;0" + ";12;34" padded to 39
// fields, C4 "5" + ";6" padded to 18.
const std::string CruisingDiagnostics = ";97;193;0;12;34" + std::string(34, ';') + ";5;6" + std::string(16, ';');

// A car at 52 km/h on a light throttle, 1.52 km into the run at 5.12 L/100 km (77.8 ml).
const VehicleState kCruisingCar{.EngineRpm = 1376, .SpeedDisplay = 52.3, .Injector = 1520, .EngineTorque = 62,
                                .CoolantTemp = 855, .VvtiAngle = 12, .FuelRateLh = 2.54, .Pid348Value = 33,
                                .ShiftLever = "D", .Mg1Voltage = 212, .BatteryCurrent = -123, .BatteryVoltage = 215,
                                .StateOfCharge = 575, .BatteryTempA = 28, .AccelPedal = 37, .FuelTankLevel = 40,
                                .FuelAccumulator = 5.12 * 1520 * 3600 * 3600, .DistanceAccumulator = 1520.0 * 3600,
                                .InstantConsumption = 4.871, .TripStart = {}, .TripNow = {}, .DiagReplyKind = {},
                                .C3Head = "97;193;0", .C4Head = "5", .C3Body = ";12;34", .C4Body = ";6", .LastFrameTime = {}};
const GpsState kDublinFix{"53.361337", "-6.50562", "61,7", "41", "84", 8};

const std::string kCruisingRow =
    "04/12/2026;09:10:05;52,3;1376;4,87;85,5;-12,3;28;215;57,5;40;18,5;0;0;33;1520;212;12;D;123456;1520;5,12;4,90;78;62;2,54";
const std::string kDublinFields = ";53.361337;-6.50562;61,7;41;84;8";

// The header and a row of each layout, as a driver finds them in the file.
TEST(LogFormat, HeaderAndRowOfEveryLayout)
{
    const struct { const char* name; MonitorSettings settings; std::string header, row; } cases[] = {
        // The plain layouts of both adapters and unit systems, with GPS, are pinned by the golden value logs.
        {"GPS without port", {.UseElm327 = true, .MetricUnits = true, .SavePath = {}, .EnableGPS = true}, kMetricHeader,
         kCruisingRow},
        // The auxiliary port takes the value columns out of the rows, not the header.
        {"auxiliary port", {.PortNumM = 2, .PortNumGPS = 3, .MetricUnits = true, .SavePath = {}, .EnableGPS = true},
         kMetricHeader + kGpsNames + AllDiagnosticNames, kDublinFields + CruisingDiagnostics},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(logHeader(c.settings), c.header);
        std::string out = "previous"; // the row is appended to what is there
        appendLogRow(out, {kCruisingCar, kDublinFix, c.settings, DateTime::fromCivil({2026, 12, 4, 9, 10, 5}), 123456, 4.9, ','});
        EXPECT_EQ(out, "previous" + c.row);
    }
}

} // namespace
