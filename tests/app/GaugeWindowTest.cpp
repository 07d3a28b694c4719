// The renderer in the running window: every figure of the snapshot in its own label,
// each needle where its angle puts it and in its tone's colour on screen. The figures and angles themselves are the core's
// (DashboardModelTest).
#include "WindowRig.h"

#include "dashboard/qt/DashboardRenderer.h"
#include "logging/Histogram.h"

#include <QApplication>
#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>

using namespace vcm;
using namespace vcm::test;

namespace {

// The dials as designed: centre and the needles' inner and outer radius, in twips.
struct DialSpec { double cx, cy, r1, r2; };
constexpr DialSpec kLeft{2010, 2850, 1230, 1600}, kRight{5920, 2440, 1580, 2040};

// Needle end point at radius r (angle in degrees, 0 down, 90 left, 180 up; 3.14159 as
// the gauges use it).
QPointF needleEnd(const DialSpec& d, double r, double angle)
{
    const double t = angle * 3.14159 / 180;
    return {d.cx - r * std::sin(t), d.cy + r * std::cos(t)};
}

// Each figure written as its label's name: a figure in a wrong label shows.
TEST(WindowRenderer, EachFigureNeedleAndToneReachesItsWidget)
{
    WindowRig rig;
    HistogramModel histogram;
    DashboardRenderer renderer(rig.view(), histogram);
    Dashboard d;
    using D = Dashboard;
    const std::pair<Field<std::string> D::*, const char*> figures[] = {
        {&D::speed, "SpeedValue"}, {&D::distance, "DistanceValue"}, {&D::tripTime, "CarTimeValue"},
        {&D::averageSpeed, "VmoyValue"}, {&D::rpm, "RpmValue"}, {&D::efficiency, "RendementValue"},
        {&D::mg1Rpm, "RpMg1VAlue"}, {&D::torque, "CoupleThValue"}, {&D::enginePower, "ThermkwValue"},
        {&D::consumption, "MpgValue"}, {&D::litres, "LitresValue"}, {&D::tripConsumption, "ConsoSp95Value"},
        {&D::tank, "TankValue"}, {&D::current, "CurrentValue"}, {&D::soc, "StateValue"},
        {&D::voltage, "BattVoltValue"}, {&D::batteryPower, "BattKwValue"}, {&D::batteryPowerUnit, "BattkwUnit"},
        {&D::batteryTemp, "BattTempValue"}, {&D::coolant, "CoolantTempValue"}, {&D::mgTemp, "MgTempValue"},
        {&D::outsideTemp, "ExtTempValue"}, {&D::accel, "AccValue"}, {&D::brake, "BrakeValue"},
        {&D::clock, "NowValue"}, {&D::gpsAltitude, "GpsAltitudeValue"}, {&D::gpsGain, "DenivValue"}};
    for (const auto& [figure, name] : figures) d.*figure = {name, 1};
    const char* shares[] = {"PourcenTherValue", "PourcenElecValue", "PourcenGlideValue", "PourcenRecupValue",
                            "PourcenArretValue"};
    for (int i = 0; i < 5; ++i) d.shares[i] = {shares[i], 1};
    struct Needle { Field<NeedleState> NeedleSet::*field; const char* name; const DialSpec& dial; double angle; Tone tone; Color color; };
    const Needle needles[] = {{&NeedleSet::current, "AiguilleAmp", kLeft, 210, Tone::Good, colors::Green},
                              {&NeedleSet::soc, "AiguilleSoc", kLeft, -30, Tone::Warning, colors::Red},
                              {&NeedleSet::accel, "AiguilleAcc", kLeft, 69, Tone::Design, 0},
                              {&NeedleSet::coolant, "AiguilleTempTh", kRight, 30, Tone::Cold, colors::Blue},
                              {&NeedleSet::rpm, "AiguilleRpm", kRight, 200, Tone::Good, colors::Green}};
    for (const Needle& n : needles) d.needles.*n.field = {{n.angle, n.tone, true}, 1};
    d.distanceUnit = {DistanceUnit::Metres, 1};
    d.tankTone = {Tone::Warning, 1};
    d.shiftSelected = {3, 1};
    d.adapterError = {true, 1};
    d.run = {RunState::Starting, 1}; // Stop offered while the adapter is being set up
    for (std::size_t i = 0; i < d.decoderLabels.size(); ++i) d.decoderLabels[i] = {"7", 1};
    d.gpsFix = {3, 1};
    d.altitudeTrend = {{1, 0, -1}, 1};
    d.lamp = {Lamp::Silent, 1};
    d.map = {{0.5, 0.5, true}, 1};
    renderer.render(d);
    QApplication::processEvents();

    for (const auto& [figure, name] : figures) EXPECT_EQ(rig.text(name), name);
    for (const char* name : shares) EXPECT_EQ(rig.text(name), name);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rig.view().foreColor({"ShiftStatus", i}) == colors::Green, i == 3) << i;
    // Distance unit, tank tone, adapter error, decoder label; Start, Stop and Config.
    EXPECT_EQ(std::tuple(rig.text("DistanceLabel"), rig.view().foreColor({"TankValue"}), rig.visible("ErreurCan"),
                         rig.text("VolantValue"), rig.visible("Command1", 0), rig.visible("Command1", 1), rig.visible("Config")),
              std::tuple("Mètres", colors::Red, true, "7", false, true, true));
    const QImage dials = rig.grab("CadransPic");
    for (const Needle& n : needles) {
        SCOPED_TRACE(n.name);
        ASSERT_TRUE(rig.visible(n.name));
        const Line l = rig.view().line({n.name});
        const QPointF p1 = needleEnd(n.dial, n.dial.r1, n.angle), p2 = needleEnd(n.dial, n.dial.r2, n.angle);
        for (auto [got, want] : {std::pair{l.x1, p1.x()}, {l.y1, p1.y()}, {l.x2, p2.x()}, {l.y2, p2.y()}})
            EXPECT_NEAR(got, want, 1e-6);
        if (n.color == 0) continue;
        // On screen: the middle of the needle is painted in its tone's colour.
        const QColor seen = dials.pixelColor(((p1 + p2) / 2 / 15).toPoint());
        const QColor want(int(n.color & 0xFF), int((n.color >> 8) & 0xFF), int((n.color >> 16) & 0xFF));
        EXPECT_LT(std::abs(seen.red() - want.red()) + std::abs(seen.green() - want.green()) +
                      std::abs(seen.blue() - want.blue()), 60) << seen.name().toStdString();
    }
    d.needles.rpm = {{200, Tone::Design, false}, 2};
    renderer.render(d);
    EXPECT_FALSE(rig.visible("AiguilleRpm"));
    // Every control the renderer names exists in the window.
    EXPECT_EQ(rig.view().unknownControls(), (std::set<std::pair<std::string, int>>{}));
}

} // namespace
