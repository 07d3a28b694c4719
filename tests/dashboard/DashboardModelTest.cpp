// The display rules, state set directly, checked on the snapshot: the current's moving
// average, engine figure, efficiency and map, consumption, battery power, coolant bands,
// zoom, shift lever, the trip figures and the totals at
// start-up. Needles and colours on screen are checked end to end in the window's tests.
#include "dashboard/DashboardModel.h"
#include "dashboard/NeedleGeometry.h"
#include "decode/CurrentAverage.h"
#include "run/TripClock.h"
#include "logging/GpsState.h"
#include "logging/TripFile.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;

namespace vcm {
// Needles read plainly in a failed comparison.
static void PrintTo(const NeedleState& needle, std::ostream* out)
{
    *out << "angle " << needle.angle << " tone " << static_cast<int>(needle.tone) << " shown " << needle.shown;
}
} // namespace vcm

namespace {

struct Rig {
    VehicleState state;
    MonitorSettings settings;
    DashboardModel model;
    const Dashboard& d = model.dashboard();

    explicit Rig(char decimalSeparator = '.') : model(state, settings, decimalSeparator)
    {
        settings.MetricUnits = settings.Celsius = true;
    }
};

} // namespace

TEST(CurrentAverage, CountsEverySampleAndRoundsHalfToEven)
{
    VehicleState v;
    CurrentAverage average;
    const struct { std::int16_t tenths; int samples; std::int16_t avg; } steps[] = {
        {200, 25, 100}, {200, 25, 200}, {0, 50, 0}, // half the ring still 0, then full, then emptied
        {1, 25, 0}, {2, 25, 2}}; // sum 25 -> 0.5 -> 0, sum 75 -> 1.5 -> 2
    for (const auto& s : steps) {
        v.BatteryCurrent = s.tenths;
        for (int i = 0; i < s.samples; ++i) average.sample(v);
        EXPECT_EQ(v.BatteryCurrentAvg, s.avg) << s.tenths;
    }
}

TEST(EngineGauge, FigureEfficiencyBandMapAndStoppedEngine)
{
    Rig r;
    struct Step { std::int16_t torque, injector; double rpm; const char *figure, *efficiency; bool map; double across, down; };
    const Step steps[] = {{8, 185, 1500, "1500", "31.0", true, 600 / 4100.0, 1415 / 1600.0}, // 8 x 388 / 100 = 31.04
                          // 7.76: outside 20..40; the same rounded figure moves nothing else
                          {2, 185, 1504, "1500", "", true, 600 / 4100.0, 1415 / 1600.0},
                          {8, 80, 1500, "1500", "", true, 600 / 4100.0, 1415 / 1600.0},      // no estimate: kept
                          {8, 2400, 2950, "2950", "", true, 0.5, 0},    // above the map's top: top edge
                          {8, 400, 5024, "5020", "", false, 0, 0},      // beyond the map
                          {8, 185, 0, "", "", false, 0, 0}};            // stopped: no figure
    for (const Step& s : steps) {
        SCOPED_TRACE(s.rpm);
        r.state.EngineTorque = s.torque;
        r.state.Injector = s.injector;
        r.state.EngineRpm = s.rpm;
        r.model.showEngineGauge();
        EXPECT_EQ(r.d.rpm.value + "|" + r.d.efficiency.value, std::string(s.figure) + "|" + s.efficiency);
        EXPECT_EQ(r.d.map.value, (MapMark{s.across, s.down, s.map}));
    }
    EXPECT_FALSE(r.d.needles.rpm.value.shown);
    EXPECT_FALSE(r.d.rpmUnitShown.value);
}

TEST(Consumption, PatternByValueAndUnitVisibility)
{
    struct Case { double value; const char* caption; bool unitShown; };
    const Case cases[] = {{4.999, "5.00", true}, {5, "5.0", true}, {99.9, "99.9", true}, {0, "", false}, {0.5, "0.50", true}};
    Rig r;
    for (const auto& c : cases) {
        r.state.InstantConsumption = c.value;
        r.model.showConsumption();
        EXPECT_EQ(r.d.consumption.value, c.caption) << c.value;
        EXPECT_EQ(r.d.consumptionUnitShown.value, c.unitShown) << c.value;
    }
    // Trip fuel and average: 1.296e12 is one litre, 3600 x 1e5 is 100 metres.
    r.state.FuelAccumulator = 6.48e11;
    r.state.DistanceAccumulator = 3.6e6 * 10;
    r.model.showConsumption();
    EXPECT_EQ(r.d.litres.value + " " + r.d.tripConsumption.value, "0.500 5.00");
}

TEST(BatteryPower, WattsBelowHalfAKilowatt)
{
    struct Case { std::int16_t volts, avg; const char* value; const char* unit; };
    const Case cases[] = {{499, 10, "499", "W"}, {500, 10, "0.5", "kW"}, {500, -10, "-0.5", "kW"},
                          {499, -10, "-499", "W"}, {210, 1000, "21.0", "kW"}};
    Rig r;
    for (const auto& c : cases) {
        r.state.BatteryVoltage = c.volts;
        r.state.BatteryCurrentAvg = c.avg;
        r.model.showBatteryPower();
        EXPECT_EQ(r.d.batteryPower.value + " " + r.d.batteryPowerUnit.value, std::string(c.value) + " " + c.unit);
        EXPECT_EQ(r.d.voltage.value, std::to_string(c.volts));
    }
}

TEST(Gauges, CoolantBandsInBothUnits)
{
    struct Case { bool celsius; std::int16_t tenths, raw; const char* caption; double celsiusTenths; Tone tone; };
    const Case cases[] = {
        {true, 720, 60, "72.0", 720, Tone::Warning}, {true, 719, 60, "71.9", 719, Tone::Good},
        {true, 399, 60, "39.9", 399, Tone::Cold},    {true, 400, 60, "40.0", 400, Tone::Good},
        {false, 1616, 60, "161.6", 720, Tone::Warning}, // 161.6 F = 72 C
        {false, 1040, 60, "104.0", 400, Tone::Good},
        {true, 100, 12, "12.0", 100, Tone::Cold}}; // below 16 the raw engine temperature is shown
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Rig r;
        r.settings.Celsius = c.celsius;
        r.state.EngineTempRaw = c.raw;
        r.state.CoolantTemp = c.tenths;
        r.model.showCoolantGauge();
        EXPECT_EQ(r.d.coolant.value, c.caption);
        EXPECT_EQ(r.d.needles.coolant.value, (NeedleState{coolantAngle(c.celsiusTenths), c.tone, true}));
    }
}

// Captions, needle angles and tones worked out by hand (degrees: 0 down, 90 left, 180 up):
// the current needle warns when the battery gives, the charge one below 63 %.
TEST(Gauges, CaptionsAndAnglesWorkedOutByHand)
{
    enum Gauge { Current, Soc, Accel, Rpm, Coolant };
    using enum Tone;
    const struct { Gauge gauge; double value; const char* caption; double angle; Tone tone; } cases[] = {
        {Current, 100, "10.0", 210, Good}, {Current, 101, "10", 180 + 1001 * 0.03, Good},
        {Current, -100, "-10.0", 150, Warning}, {Current, -101, "-10.1", 180 - 1001 * 0.03, Warning},
        {Current, 1500, "150", 180 + 2960 * 0.03, Good}, // (1500-100) x 1.4 + 1000
        {Current, 1501, "150", 270, Good}, {Current, -2000, "-200.0", 90, Warning}, // beyond 150 A: rests right
        {Current, 5, "0.5", 180 + 50 * 0.03, Good}, {Current, -1, "-0.1", 180 - 10 * 0.03, Warning},
        {Rpm, 896, "900", -1000, Design}, // angle < -999: hidden
        {Rpm, 928, "930", 28 / 11.6 + 114, Design}, {Rpm, 4992, "4990", 2992 / 23.0 + 208, Design},
        {Soc, 250, "25.0", -90, Warning}, {Soc, 700, "70.0", -30, Good}, {Soc, 630, "63.0", -40.5, Good},
        {Soc, 629, "62.9", 329 * 1.5 / 10 - 90, Warning}, {Accel, 7, "3.5", 69, Design},
        {Accel, 15, "7", 90 - (4 * 60 / 190.0 + 30), Design}, {Accel, 200, "100", 0, Design},
        {Coolant, 500, "50.0", 48 - 500 / 13.5, Good}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Rig r;
        VehicleState& v = r.state;
        const auto raw = static_cast<std::int16_t>(c.value);
        const std::pair<const Field<std::string>*, const Field<NeedleState>*> shown[] = {
            {&r.d.current, &r.d.needles.current}, {&r.d.soc, &r.d.needles.soc}, {&r.d.accel, &r.d.needles.accel},
            {&r.d.rpm, &r.d.needles.rpm}, {&r.d.coolant, &r.d.needles.coolant}};
        switch (c.gauge) {
        case Current: v.BatteryCurrentAvg = raw; r.model.showCurrentGauge(); break;
        case Soc: v.StateOfCharge = raw; r.model.showSocGauge(); break;
        case Accel: v.AccelPedal = raw; r.model.showAccelGauge(); break;
        case Rpm: v.EngineRpm = c.value; r.model.showEngineGauge(); break;
        case Coolant: v.EngineTempRaw = 80; v.CoolantTemp = raw; r.model.showCoolantGauge(); break;
        }
        const auto [caption, needle] = shown[c.gauge];
        EXPECT_EQ(caption->value, c.caption);
        const bool visible = c.angle > -999; // a hidden needle stays where it was
        EXPECT_EQ(needle->value, (NeedleState{visible ? c.angle : 0, c.tone, visible}));
    }
}

TEST(DashboardModel, RedrawsNeedlesAtANewZoomAndShowsTheTickFigures)
{
    Rig r;
    r.state.StateOfCharge = 600;
    r.model.showSocGauge();
    const auto revision = r.d.needles.soc.revision;
    r.model.setDialScale(1.8);
    r.model.redrawNeedles();
    EXPECT_GT(r.d.needles.soc.revision, revision) << "drawn again at the new zoom";
    EXPECT_FALSE(r.d.map.value.inRange) << "no engine map on zoomed dials";

    r.state.BrakePedal = 127;
    r.state.FuelTankLevel = 5;
    r.state.BatteryTempA = -3;
    r.state.MgTemp = 41;
    r.model.refreshOnTick();
    r.model.showTankLevel();
    EXPECT_EQ(r.d.brake.value + " " + r.d.tank.value + " " + r.d.batteryTemp.value + " " + r.d.mgTemp.value, "100 05 -3 41");
}

TEST(ShiftLever, OnlyTheEngagedPositionIsSelected)
{
    Rig r;
    for (auto [lever, selected] : {std::pair{"P", 4}, {"D", 1}, {"B", 0}, {"R", 3}, {"N", 2}, {"?", -1}}) {
        r.state.ShiftLever = lever;
        r.model.showShiftLever();
        EXPECT_EQ(r.d.shiftSelected.value, selected) << lever;
    }
}

TEST(SpeedAndTrip, SpeedDistanceTripClockAndAverage)
{
    Rig r;
    VehicleState& v = r.state;
    DateTime now = DateTime::fromCivil({2026, 12, 4, 9, 0, 0});
    auto tick = [&](std::int64_t advanceMs) {
        now = DateTime::fromSeconds(now.seconds() + advanceMs / 1000);
        advanceTripClock(v, now);
        r.model.showSpeedAndTrip();
    };
    v.TripClockRunning = true; // acquisition running
    v.SpeedDisplay = v.SpeedKmh = 49.96;
    v.DistanceAccumulator = 3599999; // just under one kilometre
    tick(0);
    EXPECT_EQ(r.d.speed.value + " " + r.d.distance.value, "50.0 1000");
    EXPECT_EQ(r.d.distanceUnit.value, DistanceUnit::Metres);
    const DateTime start = v.TripStart;
    EXPECT_EQ(start, now);

    v.SpeedDisplay = 88;
    v.DistanceAccumulator = 3600000.0 * 61;
    tick(3661000); // one hour, one minute, one second later
    EXPECT_EQ(r.d.speed.value + " " + r.d.distance.value, "88 61.000");
    EXPECT_EQ(r.d.distanceUnit.value, DistanceUnit::Kilometres);
    EXPECT_EQ(v.TripStart, start);
    EXPECT_EQ(r.d.tripTime.value + " " + r.d.averageSpeed.value, "01:01 60.0"); // 61 km in 3661 s

    v.SpeedDisplay = 0; // standing still the trip clock stops
    tick(600000);
    EXPECT_EQ(v.TripSeconds, 3661);
    v.SpeedDisplay = 88; // after Stop too
    v.TripClockRunning = false;
    tick(600000);
    EXPECT_EQ(v.TripSeconds, 3661);
    EXPECT_EQ(r.d.tripTime.value + " " + r.d.averageSpeed.value, "01:01 60.0");
}

TEST(SpeedAndTrip, UnitsChangeConvertsOnlyFiguresThatWereShown)
{
    Rig r;
    r.state.SpeedKmh = r.state.SpeedDisplay = 100;
    r.state.BatteryTempA = 20;
    r.state.CoolantTemp = 500;
    r.model.showBatteryTemp();
    r.settings.MetricUnits = r.settings.Celsius = false;
    r.model.unitsChanged(r.state, true, true);
    // The coolant figure was never shown: still as decoded.
    EXPECT_EQ(std::tuple(r.state.BatteryTempA, r.state.CoolantTemp, r.state.SpeedDisplay), std::tuple(68, 500, 62.0));
    EXPECT_EQ(r.d.batteryTemp.value, "68");
    EXPECT_EQ(r.d.speed.revision, 0u);
}

TEST(TotalsAtStartUp, ShowTheLifetimeFigures)
{
    // Shown: litres, distance, consumption, average speed, driving time.
    const struct { TripTotals totals; char sep; const char* shown; } cases[] = {
        {{5400, 12345, 98765}, ',', "12,345 98,765 12,50 65,84 01:30"},
        {{7199, 1000, 50000}, '.', "1.000 50.000 2.00 25.00 01:59"}, // never sixty minutes
        {{3600.0 * 123 + 59, 1, 1}, '.', "0.001 0.001 100.00 0.00 123:00"},
        {{0, 0, 0}, '.', "0.000 0.000   00:00"}};
    for (const auto& c : cases) {
        Rig r(c.sep);
        r.model.showTripTotals(c.totals);
        const Dashboard& d = r.d;
        EXPECT_EQ(d.litres.value + " " + d.distance.value + " " + d.tripConsumption.value + " " + d.averageSpeed.value +
                      " " + d.tripTime.value, c.shown);
        EXPECT_EQ(d.distanceUnit.value, DistanceUnit::Kilometres) << c.shown;
    }
}

TEST(GpsFigures, AltitudeAndTheGainOnceAReferenceIsTaken)
{
    const struct { double altitude; std::int16_t start; const char *shown, *gain; } cases[] = {
        {61.7, 0, "61,7", ""}, {75.9, 62, "75,9", "14"}, {51.2, 62, "51,2", "-11"}};
    for (const auto& c : cases) {
        Rig r(',');
        GpsState gps;
        gps.altitude = c.altitude;
        gps.StartAltitude = c.start;
        r.model.showGpsAltitude(gps);
        EXPECT_EQ(r.d.gpsAltitude.value + "|" + r.d.gpsGain.value, std::string(c.shown) + "|" + c.gain);
    }
}
