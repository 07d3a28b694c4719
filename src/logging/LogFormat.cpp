#include "LogFormat.h"

#include "common/Format.h"

#include <algorithm>
#include <cstdio>

namespace vcm {
namespace {

constexpr double FuelUnitsPerMl = 1296000000.0;

void appendTwoDigits(std::string& out, int v)
{
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

// "dd/mm/yyyy;hh:mm:ss" without a temporary string.
void appendDateAndTime(std::string& out, DateTime t)
{
    const CivilTime c = t.civil();
    appendTwoDigits(out, c.day);
    out += '/';
    appendTwoDigits(out, c.month);
    out += '/';
    appendTwoDigits(out, c.year / 100);
    appendTwoDigits(out, c.year % 100);
    out += ';';
    appendTwoDigits(out, c.hour);
    out += ':';
    appendTwoDigits(out, c.minute);
    out += ':';
    appendTwoDigits(out, c.second);
}

bool logsGps(const MonitorSettings& s) { return s.EnableGPS && s.PortNumGPS >= 1; }

// Values in the diagnostic records: C3 has 4 in its first frame and 7 in each of five
// consecutive frames, C4 4 and 2 x 7.
constexpr int C3Fields = 39;
constexpr int C4Fields = 18;

// The decimal values of one diagnostic record, padded with empty fields to the record's
// length, so that a record not (or not wholly) received yet moves no later column.
void appendDiagnosticFields(std::string& out, const std::string& head, const std::string& body, int fields)
{
    out += ';';
    out += head;
    out += body;
    int written = 1 + static_cast<int>(std::count(head.begin(), head.end(), ';') + std::count(body.begin(), body.end(), ';'));
    for (; written < fields; ++written)
        out += ';';
}

} // namespace

std::string logHeader(const MonitorSettings& settings)
{
    std::string h = "Date;Heure;";
    h += settings.MetricUnits ? "km/h;Tpm;L/100;Temp Eau(" : "mph;Rpm;MPG;CoolantTemp(";
    h += "°C)";
    h += ";Courant(A);TempBatt(°C);VoltBatt(V);SOC(%);Réserv(%);Accel.;Frein;EV Mode;Pid348;Inject;"
         "VoltMg1;Vvti;Shift lever;Timer;Distance;Lmoy/100;Lmoy/minute;Litres;Couple Therm; l/h";
    if (logsGps(settings)) h += ";GPS Latitude;GPS Longitude;GPS Altitude;GPS Speed;GPS Direction;Nbre Sat";
    if (!settings.UseElm327) {
        for (int i = 1; i <= C3Fields; ++i) {
            h += ";C3_";
            appendTwoDigits(h, i);
        }
        for (int i = 1; i <= C4Fields; ++i) {
            h += ";C4_";
            appendTwoDigits(h, i);
        }
    }
    return h;
}

double tripAverageConsumption(const VehicleState& state)
{
    if (state.DistanceAccumulator == 0) return 0;
    return state.FuelAccumulator / (state.DistanceAccumulator * 3600);
}

void appendLogRow(std::string& out, const LogRowInputs& in)
{
    const VehicleState& v = in.state;
    const char sep = in.decimalSeparator;
    auto field = [&](double value, NumberPattern p) {
        out += ';';
        appendNumber(out, value, p, sep);
    };
    using P = NumberPattern;

    if (in.settings.PortNumM == 0) {
        appendDateAndTime(out, in.now);
        field(v.SpeedDisplay, P::OneDecimal);
        field(v.EngineRpm, P::Whole);
        field(v.InstantConsumption, P::TwoDecimals);
        field(v.CoolantTemp / 10.0, P::OneDecimal);
        field(v.BatteryCurrent / 10.0, P::OneDecimal);
        field(v.BatteryTempA, P::Whole);
        field(v.BatteryVoltage, P::Whole);
        field(v.StateOfCharge / 10.0, P::OneDecimal);
        field(v.FuelTankLevel, P::Whole);
        field(v.AccelPedal / 2.0, P::OneDecimal);
        field(v.BrakePedal, P::Whole);
        field(v.EvMode ? 1 : 0, P::Whole);
        field(v.Pid348Value, P::Whole);
        field(v.Injector, P::Whole);
        field(v.Mg1Voltage, P::Whole);
        field(v.VvtiAngle, P::Whole);
        out += ';';
        out += v.ShiftLever;
        field(in.tickCount, P::Whole);
        field(v.DistanceAccumulator / 3600, P::Whole);
        field(tripAverageConsumption(v), P::TwoDecimals);
        field(in.intervalConsumption, P::TwoDecimals);
        field(v.FuelAccumulator / FuelUnitsPerMl, P::Whole);
        field(v.EngineTorque, P::Whole);
        field(v.FuelRateLh, P::TwoDecimals);
    }
    if (logsGps(in.settings)) {
        const GpsState& g = in.gps;
        for (const std::string* text : {&g.GpsLatitude, &g.GpsLongitude, &g.GpsAltitude, &g.GpsSpeed, &g.GpsCourse}) {
            out += ';';
            out += *text;
        }
        field(g.GpsSatellites, P::Whole);
    }
    if (!in.settings.UseElm327) {
        appendDiagnosticFields(out, v.C3Head, v.C3Body, C3Fields);
        appendDiagnosticFields(out, v.C4Head, v.C4Body, C4Fields);
    }
}

} // namespace vcm
