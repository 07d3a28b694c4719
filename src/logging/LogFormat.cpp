#include "LogFormat.h"

#include "common/Format.h"
#include "decode/Units.h"

#include <algorithm>
#include <cstdio>

namespace vcm {
namespace {

void appendTwoDigits(std::string& out, int v)
{
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

bool logsGps(const MonitorSettings& s) { return s.EnableGPS && s.PortNumGPS >= 1; }

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

using P = NumberPattern;
using Row = const LogRowInputs&;

void number(std::string& out, Row in, double value, NumberPattern pattern)
{
    appendNumber(out, value, pattern, in.decimalSeparator);
}

// The GPS fields: texts as the receiver's decoder keeps them, and the satellite count.
void gpsText(std::string& out, const std::string& text) { out += text; }

// Written without a temporary string: the row is built at every tick.
constexpr LogColumn kColumns[LogCol::Count] = {
    {"Date", "Date", [](std::string& o, Row in) {
         const CivilTime c = in.now.civil();
         appendTwoDigits(o, c.day), o += '/', appendTwoDigits(o, c.month), o += '/';
         appendTwoDigits(o, c.year / 100), appendTwoDigits(o, c.year % 100);
     }},
    {"Heure", "Heure", [](std::string& o, Row in) {
         const CivilTime c = in.now.civil();
         appendTwoDigits(o, c.hour), o += ':', appendTwoDigits(o, c.minute), o += ':', appendTwoDigits(o, c.second);
     }},
    {"km/h", "mph", [](std::string& o, Row in) { number(o, in, in.state.SpeedDisplay, P::OneDecimal); }},
    {"Tpm", "Rpm", [](std::string& o, Row in) { number(o, in, in.state.EngineRpm, P::Whole); }},
    {"L/100", "MPG", [](std::string& o, Row in) { number(o, in, in.state.InstantConsumption, P::TwoDecimals); }},
    {"Temp Eau(°C)", "CoolantTemp(°C)", [](std::string& o, Row in) { number(o, in, in.state.CoolantTemp / 10.0, P::OneDecimal); }},
    {"Courant(A)", "Courant(A)", [](std::string& o, Row in) { number(o, in, in.state.BatteryCurrent / 10.0, P::OneDecimal); }},
    {"TempBatt(°C)", "TempBatt(°C)", [](std::string& o, Row in) { number(o, in, in.state.BatteryTempA, P::Whole); }},
    {"VoltBatt(V)", "VoltBatt(V)", [](std::string& o, Row in) { number(o, in, in.state.BatteryVoltage, P::Whole); }},
    {"SOC(%)", "SOC(%)", [](std::string& o, Row in) { number(o, in, in.state.StateOfCharge / 10.0, P::OneDecimal); }},
    {"Réserv(%)", "Réserv(%)", [](std::string& o, Row in) { number(o, in, in.state.FuelTankLevel, P::Whole); }},
    {"Accel.", "Accel.", [](std::string& o, Row in) { number(o, in, in.state.AccelPedal / 2.0, P::OneDecimal); }},
    {"Frein", "Frein", [](std::string& o, Row in) { number(o, in, in.state.BrakePedal, P::Whole); }},
    {"EV Mode", "EV Mode", [](std::string& o, Row in) { number(o, in, in.state.EvMode ? 1 : 0, P::Whole); }},
    {"Pid348", "Pid348", [](std::string& o, Row in) { number(o, in, in.state.Pid348Value, P::Whole); }},
    {"Inject", "Inject", [](std::string& o, Row in) { number(o, in, in.state.Injector, P::Whole); }},
    {"VoltMg1", "VoltMg1", [](std::string& o, Row in) { number(o, in, in.state.Mg1Voltage, P::Whole); }},
    {"Vvti", "Vvti", [](std::string& o, Row in) { number(o, in, in.state.VvtiAngle, P::Whole); }},
    {"Shift lever", "Shift lever", [](std::string& o, Row in) { o += in.state.ShiftLever; }},
    {"Timer", "Timer", [](std::string& o, Row in) { number(o, in, in.tickCount, P::Whole); }},
    {"Distance", "Distance", [](std::string& o, Row in) { number(o, in, units::metres(in.state.DistanceAccumulator), P::Whole); }},
    {"Lmoy/100", "Lmoy/100", [](std::string& o, Row in) { number(o, in, tripAverageConsumption(in.state), P::TwoDecimals); }},
    {"Lmoy/minute", "Lmoy/minute", [](std::string& o, Row in) { number(o, in, in.intervalConsumption, P::TwoDecimals); }},
    {"Litres", "Litres", [](std::string& o, Row in) { number(o, in, units::millilitres(in.state.FuelAccumulator), P::Whole); }},
    {"Couple Therm", "Couple Therm", [](std::string& o, Row in) { number(o, in, in.state.EngineTorque, P::Whole); }},
    {" l/h", " l/h", [](std::string& o, Row in) { number(o, in, in.state.FuelRateLh, P::TwoDecimals); }},
    {"GPS Latitude", "GPS Latitude", [](std::string& o, Row in) { gpsText(o, in.gps.GpsLatitude); }},
    {"GPS Longitude", "GPS Longitude", [](std::string& o, Row in) { gpsText(o, in.gps.GpsLongitude); }},
    {"GPS Altitude", "GPS Altitude", [](std::string& o, Row in) { gpsText(o, in.gps.GpsAltitude); }},
    {"GPS Speed", "GPS Speed", [](std::string& o, Row in) { gpsText(o, in.gps.GpsSpeed); }},
    {"GPS Direction", "GPS Direction", [](std::string& o, Row in) { gpsText(o, in.gps.GpsCourse); }},
    {"Nbre Sat", "Nbre Sat", [](std::string& o, Row in) { number(o, in, in.gps.GpsSatellites, P::Whole); }},
};

// Every field but the row's first (the date) follows a ";".
void appendColumns(std::string& out, const LogRowInputs& in, std::size_t first, std::size_t end)
{
    for (std::size_t col = first; col < end; ++col) {
        if (col != LogCol::Date) out += ';';
        kColumns[col].append(out, in);
    }
}

} // namespace

const LogColumn& logColumn(std::size_t col) { return kColumns[col]; }

std::string diagnosticColumnName(const DiagnosticRecord& record, int field)
{
    std::string name(record.name);
    name += '_';
    appendTwoDigits(name, field);
    return name;
}

std::string logHeader(const MonitorSettings& settings)
{
    std::string h;
    const std::size_t end = logsGps(settings) ? LogCol::Count : LogCol::ValueCount;
    for (std::size_t col = 0; col < end; ++col) {
        if (col != LogCol::Date) h += ';';
        h += kColumns[col].name(settings.MetricUnits);
    }
    if (!settings.UseElm327) {
        for (const DiagnosticRecord& record : DiagnosticRecords)
            for (int i = 1; i <= record.fields; ++i) h += ';' + diagnosticColumnName(record, i);
    }
    return h;
}

double tripAverageConsumption(const VehicleState& state)
{
    if (state.DistanceAccumulator == 0) return 0;
    return units::litresPer100Km(state.FuelAccumulator, state.DistanceAccumulator);
}

void appendLogRow(std::string& out, const LogRowInputs& in)
{
    if (in.settings.PortNumM == 0) appendColumns(out, in, 0, LogCol::ValueCount);
    if (logsGps(in.settings)) appendColumns(out, in, LogCol::ValueCount, LogCol::Count);
    if (!in.settings.UseElm327) {
        appendDiagnosticFields(out, in.state.C3Head, in.state.C3Body, DiagnosticRecords[0].fields);
        appendDiagnosticFields(out, in.state.C4Head, in.state.C4Body, DiagnosticRecords[1].fields);
    }
}

} // namespace vcm
