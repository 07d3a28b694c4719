// The panels on an in-memory window, state set directly: the current's moving average,
// engine figure, efficiency and map, consumption, battery power, coolant bands, label
// writes, zoom, shift lever and the trip figures. Needles per value are checked end to
// end in the window's tests.
#include "common/MemoryView.h"
#include "dashboard/NeedleGeometry.h"
#include "dashboard/Panels.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vcm;

namespace {

struct Dashboard {
    VehicleState state;
    MonitorSettings settings;
    MemoryView view;
    ManualClock clock;
    Panels panels{state, settings, view, clock};

    Dashboard()
    {
        settings.MetricUnits = settings.Celsius = true;
        // The engine map as laid out: 350 x 350 px, cross-hair ends on its left and top edges.
        view.props("CartoBmp").geometry = {0, 0, 5250, 5250};
        view.props("CartoLineV").line = {0, 0, 0, 5250};
        view.props("CartoLineH").line = {0, 5250, 5250, 5250};
    }
    void currentCalls(std::int16_t tenths, int calls)
    {
        state.BatteryCurrent = tenths;
        for (int i = 0; i < calls; ++i) panels.showCurrentGauge();
    }
    std::string text(std::string_view name, int index = -1) const { return view.text({name, index}); }
};

void expectNeedle(const Line& l, const Dial& d, double angle, double scale)
{
    const double t = angle * 3.14159 / 180;
    EXPECT_NEAR(l.x1, scale * (d.cx - d.r1 * std::sin(t)), 1e-6);
    EXPECT_NEAR(l.y1, scale * (d.cy + d.r1 * std::cos(t)), 1e-6);
    EXPECT_NEAR(l.x2, scale * (d.cx - d.r2 * std::sin(t)), 1e-6);
    EXPECT_NEAR(l.y2, scale * (d.cy + d.r2 * std::cos(t)), 1e-6);
}

} // namespace

TEST(CurrentAverage, CountsEveryCallAndRoundsHalfToEven)
{
    Dashboard d;
    d.currentCalls(200, 25);
    EXPECT_EQ(d.state.BatteryCurrentAvg, 100); // half the ring holds 200, half still 0
    // The decoder's calls are samples too.
    for (int i = 0; i < 25; ++i) d.panels.decoderSink().showCurrentGauge();
    EXPECT_EQ(d.state.BatteryCurrentAvg, 200);

    // Old samples leave the ring after 50 calls: sum 25 -> 0.5 -> 0, sum 75 -> 1.5 -> 2.
    Dashboard e;
    e.currentCalls(1, 25);
    EXPECT_EQ(e.state.BatteryCurrentAvg, 0);
    e.currentCalls(2, 25);
    EXPECT_EQ(e.state.BatteryCurrentAvg, 2);
}

TEST(EngineGauge, FigureEfficiencyBandAndStoppedEngine)
{
    Dashboard d;
    struct Step { std::int16_t torque, injector; double rpm; const char* figure; const char* efficiency; };
    const Step steps[] = {{8, 185, 1500, "1500", "31.0"}, // 8 x 388 / 100 = 31.04
                          {2, 185, 1504, "1500", ""},     // 7.76: outside 20..40
                          {8, 80, 1500, "1500", ""},      // no estimate: the label keeps its text
                          {8, 185, 0, "", ""}};           // stopped: no figure
    for (const Step& s : steps) {
        d.state.EngineTorque = s.torque;
        d.state.Injector = s.injector;
        d.state.EngineRpm = s.rpm;
        d.panels.showEngineGauge();
        EXPECT_EQ(d.text("RpmValue"), s.figure) << s.rpm;
        EXPECT_EQ(d.text("RendementValue"), s.efficiency) << s.torque << " " << s.injector;
    }
    EXPECT_FALSE(d.view.isVisible({"AiguilleRpm"}));
    EXPECT_FALSE(d.view.isVisible({"CartoBmp"}));
}

TEST(EngineMap, CrossHairFollowsRpmAndInjectorInsideItsRange)
{
    Dashboard d;
    d.state.EngineRpm = 2950; // halfway across 900..5000
    d.state.Injector = 400;   // a quarter up the map
    d.panels.showEngineGauge();
    ASSERT_TRUE(d.view.isVisible({"CartoBmp"}));
    const Line v = d.view.line({"CartoLineV"}), h = d.view.line({"CartoLineH"});
    EXPECT_DOUBLE_EQ(v.x1, 2625);
    EXPECT_DOUBLE_EQ(h.y1, 5250.0 * 1200 / 1600);
    EXPECT_DOUBLE_EQ(v.y2, 5250); // the fixed ends stay
    EXPECT_DOUBLE_EQ(h.x2, 5250);
    // An injector quantity above the map's top keeps the line on the top edge.
    d.state.Injector = 2400;
    d.state.EngineRpm = 3000;
    d.panels.showEngineGauge();
    EXPECT_DOUBLE_EQ(d.view.line({"CartoLineH"}).y1, 0);
    for (double rpm : {896.0, 5024.0}) {
        d.state.EngineRpm = rpm;
        d.panels.showEngineGauge();
        EXPECT_FALSE(d.view.isVisible({"CartoBmp"})) << rpm;
    }
}

TEST(Consumption, PatternByValueAndUnitVisibility)
{
    struct Case { double value; const char* caption; bool unitShown; };
    const Case cases[] = {{4.999, "5.00", true}, {5, "5.0", true}, {99.9, "99.9", true}, {0, "", false}, {0.5, "0.50", true}};
    Dashboard d;
    for (const auto& c : cases) {
        d.state.InstantConsumption = c.value;
        d.panels.showConsumption();
        EXPECT_EQ(d.text("MpgValue"), c.caption) << c.value;
        EXPECT_EQ(d.view.isVisible({"MpgUnit"}), c.unitShown) << c.value;
    }
    // Trip fuel and average: 1.296e12 is one litre, 3600 x 1e5 is 100 metres.
    d.state.FuelAccumulator = 6.48e11;
    d.state.DistanceAccumulator = 3.6e6 * 10;
    d.panels.showConsumption();
    EXPECT_EQ(d.text("LitresValue"), "0.500");
    EXPECT_EQ(d.text("ConsoSp95Value"), "5.00");
}

TEST(BatteryPower, WattsBelowHalfAKilowatt)
{
    struct Case { std::int16_t volts, avg; const char* value; const char* unit; };
    const Case cases[] = {{499, 10, "499", "W"}, {500, 10, "0.5", "kW"}, {500, -10, "-0.5", "kW"},
                          {499, -10, "-499", "W"}, {210, 1000, "21.0", "kW"}};
    Dashboard d;
    for (const auto& c : cases) {
        d.state.BatteryVoltage = c.volts;
        d.state.BatteryCurrentAvg = c.avg;
        d.panels.showBatteryPower();
        EXPECT_EQ(d.text("BattKwValue"), c.value) << c.volts << " x " << c.avg;
        EXPECT_EQ(d.text("BattkwUnit"), c.unit);
        EXPECT_EQ(d.text("BattVoltValue"), std::to_string(c.volts));
    }
}

TEST(CoolantGauge, ColourBandsInCelsiusWhateverTheLabelUnit)
{
    struct Case { bool celsius; std::int16_t tenths, raw; const char* caption; double celsiusTenths; Color color; };
    const Case cases[] = {
        {true, 720, 60, "72.0", 720, colors::Red},    {true, 719, 60, "71.9", 719, colors::Green},
        {true, 399, 60, "39.9", 399, colors::Blue},   {true, 400, 60, "40.0", 400, colors::Green},
        {false, 1616, 60, "161.6", 720, colors::Red}, // 161.6 F = 72 C
        {false, 1040, 60, "104.0", 400, colors::Green},
        {true, 100, 12, "12.0", 100, colors::Blue}};  // below 16 the raw engine temperature is shown
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        Dashboard d;
        d.settings.Celsius = c.celsius;
        d.state.EngineTempRaw = c.raw;
        d.state.CoolantTemp = c.tenths;
        d.panels.showCoolantGauge();
        EXPECT_EQ(d.text("CoolantTempValue"), c.caption);
        if (c.raw < 16) continue;
        EXPECT_EQ(d.view.foreColor({"AiguilleTempTh"}), c.color);
        expectNeedle(d.view.line({"AiguilleTempTh"}), RightDial, 48 - c.celsiusTenths / 13.5, 1.0);
    }
}

TEST(LabelPanels, SkipWhenUnchangedAndForce)
{
    Dashboard d;
    d.state.StateOfCharge = 600;
    d.panels.showSocGauge();
    d.panels.showSocGauge();
    EXPECT_EQ(d.view.props("StateValue").writes, 1);

    // A forced call redraws at the new zoom even though the value did not change.
    d.panels.setDialScale(2);
    d.panels.showSocGauge();
    expectNeedle(d.view.line({"AiguilleSoc"}), LeftDial, 30 * 1.5 - 90, 1.0);
    d.panels.showSocGauge(true);
    EXPECT_EQ(d.view.props("StateValue").writes, 2);
    expectNeedle(d.view.line({"AiguilleSoc"}), LeftDial, 30 * 1.5 - 90, 2.0);

    // Values equal to the start-up zero are not written at all.
    d.panels.refreshOnTick();
    EXPECT_FALSE(d.view.has("TankValue"));
    EXPECT_FALSE(d.view.has("BrakeValue"));
    d.state.BrakePedal = 127;
    d.state.FuelTankLevel = 5;
    d.state.BatteryTempA = -3;
    d.state.MgTemp = 41;
    d.panels.refreshOnTick();
    d.panels.showTankLevel();
    d.panels.refreshOnTick();
    EXPECT_EQ(d.text("BrakeValue"), "100");
    EXPECT_EQ(d.text("TankValue"), "05");
    EXPECT_EQ(d.text("BattTempValue"), "-3");
    EXPECT_EQ(d.text("MgTempValue"), "41");
    EXPECT_EQ(d.view.props("TankValue").writes, 1);
    EXPECT_FALSE(d.view.has("ExtTempValue"));
}

TEST(RedrawNeedles, ZoomMovesEveryNeedleWithoutTouchingTheAverage)
{
    Dashboard d;
    d.currentCalls(-250, 50);
    d.state.StateOfCharge = 550;
    d.state.AccelPedal = 80;
    d.state.EngineRpm = 1600;
    d.state.CoolantTemp = 850;
    d.state.EngineTempRaw = 80;
    d.panels.refreshOnTick();
    d.panels.setDialScale(1.8);
    d.panels.redrawNeedles();
    EXPECT_EQ(d.state.BatteryCurrentAvg, -250);
    expectNeedle(d.view.line({"AiguilleAmp"}), LeftDial, currentAngle(-250), 1.8);
    expectNeedle(d.view.line({"AiguilleSoc"}), LeftDial, socAngle(550), 1.8);
    expectNeedle(d.view.line({"AiguilleAcc"}), LeftDial, accelAngle(80), 1.8);
    expectNeedle(d.view.line({"AiguilleRpm"}), RightDial, rpmAngle(1600), 1.8);
    expectNeedle(d.view.line({"AiguilleTempTh"}), RightDial, coolantAngle(850), 1.8);
    EXPECT_FALSE(d.view.isVisible({"CartoBmp"})); // no engine map on zoomed dials
}

TEST(ShiftLever, OnlyTheEngagedLetterIsGreen)
{
    Dashboard d;
    for (const char* lever : {"P", "D", "B", "R", "N", "?"}) {
        d.state.ShiftLever = lever;
        d.panels.showShiftLever();
        const auto lit = std::string_view("BDNRP").find(lever[0]); // npos for "?"
        for (std::size_t i = 0; i < 5; ++i)
            EXPECT_EQ(d.view.foreColor({"ShiftStatus", int(i)}), i == lit ? colors::Green : colors::SystemText) << lever << i;
    }
}

TEST(SpeedAndTrip, SpeedDistanceTripClockAndAverage)
{
    Dashboard d;
    d.view.props("DistanceLabel").text = "Km";
    d.state.TripClockRunning = true; // acquisition running
    d.state.SpeedDisplay = 49.96;
    d.state.SpeedKmh = 49.96;
    d.state.DistanceAccumulator = 3599999; // just under one kilometre
    d.panels.showSpeedAndTrip();
    EXPECT_EQ(d.text("SpeedValue"), "50.0");
    EXPECT_EQ(d.text("DistanceValue"), "1000");
    EXPECT_EQ(d.text("DistanceLabel"), "Mètres");
    const DateTime start = d.clock.now();
    EXPECT_EQ(d.state.TripStart, start);

    d.clock.advance(3661000); // one hour, one minute, one second later
    d.state.SpeedDisplay = 88;
    d.state.DistanceAccumulator = 3600000.0 * 61;
    d.panels.showSpeedAndTrip();
    EXPECT_EQ(d.text("SpeedValue"), "88");
    EXPECT_EQ(d.text("DistanceValue"), "61.000");
    EXPECT_EQ(d.text("DistanceLabel"), "Km");
    EXPECT_EQ(d.state.TripStart, start);
    EXPECT_EQ(d.text("CarTimeValue"), "01:01");
    EXPECT_EQ(d.text("VmoyValue"), "60.0"); // 61 km in 3661 s

    // Standing still the trip clock stops.
    d.clock.advance(600000);
    d.state.SpeedDisplay = 0;
    d.panels.showSpeedAndTrip();
    EXPECT_EQ(d.state.TripSeconds, 3661);
    EXPECT_EQ(d.text("CarTimeValue"), "01:01");

    // After Stop the figures freeze at their last speed: the trip clock stops too.
    d.state.SpeedDisplay = 88;
    d.state.TripClockRunning = false;
    d.clock.advance(600000);
    d.panels.showSpeedAndTrip();
    EXPECT_EQ(d.state.TripSeconds, 3661);
    EXPECT_EQ(d.text("VmoyValue"), "60.0");
}
