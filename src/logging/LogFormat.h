#pragma once
// The value log's header and rows (one row per main tick, ";"-separated, CR LF added
// by the writer).
//
// Metric, ELM327, no GPS, decimal separator ',':
//   Date;Heure;km/h;Tpm;L/100;Temp Eau(°C);Courant(A);TempBatt(°C);VoltBatt(V);SOC(%);
//   Réserv(%);Accel.;Frein;EV Mode;Pid348;Inject;VoltMg1;Vvti;Shift lever;Timer;Distance;
//   Lmoy/100;Lmoy/minute;Litres;Couple Therm; l/h                        (one line)
//   04/12/2026;09:10:05;52,3;1376;4,87;85,5;-12,3;28;215;57,5;40;18,5;0;0;33;
//   1520;212;12;D;123456;1520;5,12;4,90;78;62;2,54                        (one line)
// With GPS (EnableGPS and PortNumGPS >= 1) six columns follow:
//   ;GPS Latitude;GPS Longitude;GPS Altitude;GPS Speed;GPS Direction;Nbre Sat
//   ;53.361337;-6.50562;61,7;41;84;8
// With the CANUSB adapter the diagnostic replies follow: header names ";C3_01" ..
// ";C3_39;C4_01" .. ";C4_18", row ";" + C3Head + C3Body + ";" + C4Head + C4Body, each
// record padded with empty fields to its 39 or 18 values, so that rows and header always
// have the same number of fields (a C4 record never received is 18 empty fields):
//   ;97;193;0;12;34;;;(...);5;6;;;(...)
// Files are written in UTF-8.
#include "GpsState.h"
#include "common/DateTime.h"
#include "config/MonitorSettings.h"
#include "decode/VehicleState.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace vcm {

struct LogRowInputs {
    const VehicleState& state;
    const GpsState& gps;
    const MonitorSettings& settings;
    DateTime now;                    // read once at the start of the tick
    double tickCount = 0;            // millisecond tick count when the row is built
    double intervalConsumption = 0;  // consumption of the last histogram minute
    char decimalSeparator = '.';
};

// The value log's columns, in file order: the 26 value columns, then the six GPS columns.
// A column's position is its number here (readers index rows with them).
struct LogCol {
    enum : std::size_t {
        Date, Time, Speed, Rpm, Consumption, Coolant, Current, BatteryTemp, Voltage, Soc, Reserve, Accel, Brake,
        EvMode, Pid348, Inject, Mg1Voltage, Vvti, ShiftLever, Timer, Distance, TripAverage, MinuteAverage, Litres,
        Torque, FuelRate, GpsLatitude, GpsLongitude, GpsAltitude, GpsSpeed, GpsCourse, GpsSatellites, Count
    };
    static constexpr std::size_t ValueCount = GpsLatitude, GpsCount = Count - GpsLatitude;
};

// One column: its header name in each unit system and how a row writes its field.
struct LogColumn {
    std::string_view metricName, usName;
    void (*append)(std::string& out, const LogRowInputs& in);
    std::string_view name(bool metric) const { return metric ? metricName : usName; }
};
// All LogCol::Count columns, indexed by LogCol.
const LogColumn& logColumn(std::size_t col);

// The CANUSB's diagnostic records after the columns: C3 has 4 values in its first frame
// and 7 in each of five consecutive frames, C4 4 and 2 x 7. Their columns are named
// "C3_01" .. "C3_39", "C4_01" .. "C4_18".
struct DiagnosticRecord {
    std::string_view name;
    int fields;
};
inline constexpr DiagnosticRecord DiagnosticRecords[] = {{"C3", 39}, {"C4", 18}};
std::string diagnosticColumnName(const DiagnosticRecord& record, int field);

std::string logHeader(const MonitorSettings& settings);

// Appends one row (without line end) to out; allocates nothing when out has room.
// With PortNumM not 0 the 26 value columns are left out, as the auxiliary port wants.
void appendLogRow(std::string& out, const LogRowInputs& in);

// Trip average since acquisition started, litres per 100 km; 0 before any distance.
double tripAverageConsumption(const VehicleState& state);

} // namespace vcm
