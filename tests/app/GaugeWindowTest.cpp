// Adapter text through the real decoder and main tick into the window: captions,
// colours, visibility and needle end points as the driver sees them.
#include "WindowRig.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

using namespace vcm;
using namespace vcm::test;

namespace {

// Needle end point at radius r, from the dial's own definition (angle in degrees, 0 down,
// 90 left, 180 up; 3.14159 as the gauges use it).
QPointF needleEnd(double cx, double cy, double r, double angle)
{
    const double t = angle * 3.14159 / 180;
    return {cx - r * std::sin(t), cy + r * std::cos(t)};
}

struct GaugeCase {
    const char* what;
    const char* frame;  // ELM327 monitor line
    int repeats;        // the current is a moving average of 50 calls
    const char* valueLabel;
    const char* caption;
    const char* needle;
    bool leftDial;
    double angle;       // degrees; < -999: needle hidden
    Color color;        // 0: any
};

class GaugeInWindow : public ::testing::TestWithParam<GaugeCase> {};

TEST_P(GaugeInWindow, CaptionNeedleAndColour)
{
    const GaugeCase& c = GetParam();
    WindowRig rig;
    rig.feedTimes(c.frame, c.repeats);
    rig.tick(2);
    EXPECT_EQ(rig.text(c.valueLabel), c.caption) << c.what;
    if (c.angle < -999) {
        EXPECT_FALSE(rig.visible(c.needle)) << c.what;
        return;
    }
    ASSERT_TRUE(rig.visible(c.needle)) << c.what;
    const double cx = c.leftDial ? 2010 : 5920, cy = c.leftDial ? 2850 : 2440;
    const double r1 = c.leftDial ? 1230 : 1580, r2 = c.leftDial ? 1600 : 2040;
    const Line l = rig.view().line({c.needle});
    const QPointF p1 = needleEnd(cx, cy, r1, c.angle), p2 = needleEnd(cx, cy, r2, c.angle);
    EXPECT_NEAR(l.x1, p1.x(), 2) << c.what;
    EXPECT_NEAR(l.y1, p1.y(), 2) << c.what;
    EXPECT_NEAR(l.x2, p2.x(), 2) << c.what;
    EXPECT_NEAR(l.y2, p2.y(), 2) << c.what;
    if (c.color != 0) {
        EXPECT_EQ(rig.view().foreColor({c.needle}), c.color) << c.what;
        // And on screen: the middle of the needle is painted in that colour.
        const QImage panel = rig.grab("CadransPic");
        const QPoint mid((p1 + p2).toPoint() / 2 / 15);
        const QColor seen = panel.pixelColor(mid);
        const QColor want(int(c.color & 0xFF), int((c.color >> 8) & 0xFF), int((c.color >> 16) & 0xFF));
        EXPECT_LT(std::abs(seen.red() - want.red()) + std::abs(seen.green() - want.green()) +
                      std::abs(seen.blue() - want.blue()),
                  60)
            << c.what << " pixel " << seen.name().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dashboard, GaugeInWindow,
    ::testing::Values(
        // 03B: current = -s12(bytes 1-2); 10.0 A charging = 0xF9C, 10.1 A = 0xF9B.
        GaugeCase{"current 10.0 A", "03B 0F 9C 00 D2\r\n", 60, "CurrentValue", "10.0", "AiguilleAmp", true, 210,
                  colors::Green},
        GaugeCase{"current 10.1 A", "03B 0F 9B 00 D2\r\n", 60, "CurrentValue", "10", "AiguilleAmp", true,
                  1001 * 0.03 + 180, colors::Green},
        GaugeCase{"current -200 A", "03B 07 D0 00 D2\r\n", 60, "CurrentValue", "-200.0", "AiguilleAmp", true, 90,
                  colors::Red},
        // 3C8: rpm = byte 3 x 32.
        GaugeCase{"rpm 896 hides the needle", "3C8 00 00 1C\r\n", 1, "RpmValue", "900", "AiguilleRpm", false, -1000, 0},
        GaugeCase{"rpm 928", "3C8 00 00 1D\r\n", 1, "RpmValue", "930", "AiguilleRpm", false, 28 / 11.6 + 114, 0},
        GaugeCase{"rpm 2016", "3C8 00 00 3F\r\n", 1, "RpmValue", "2020", "AiguilleRpm", false, 16 / 23.0 + 208, 0},
        // 3CB: state of charge = bytes 3-4 x 5; 250 rests at 30 %.
        GaugeCase{"soc 25.0", "3CB 40 50 00 32 00 19\r\n", 1, "StateValue", "25.0", "AiguilleSoc", true, -90,
                  colors::Red},
        GaugeCase{"soc 70.0", "3CB 40 50 00 8C 00 19\r\n", 1, "StateValue", "70.0", "AiguilleSoc", true, -30,
                  colors::Green},
        // 244: accelerator byte 7.
        GaugeCase{"accelerator 7", "244 00 00 00 00 00 00 07\r\n", 1, "AccValue", "3.5", "AiguilleAcc", true, 69, 0},
        GaugeCase{"accelerator 15", "244 00 00 00 00 00 00 0F\r\n", 1, "AccValue", "7", "AiguilleAcc", true,
                  90 - (4 * 60 / 190.0 + 30), 0},
        // 52C: coolant = byte 2 x 5 tenths.
        GaugeCase{"coolant 50.0", "039 50 00 00\r\n52C 00 64\r\n", 1, "CoolantTempValue", "50.0", "AiguilleTempTh", false,
                  48 - 500 / 13.5, colors::Green},
        GaugeCase{"coolant 75.0", "039 50 00 00\r\n52C 00 96\r\n", 1, "CoolantTempValue", "75.0", "AiguilleTempTh", false,
                  48 - 750 / 13.5, colors::Red}));

TEST(WindowPanels, ShiftLeverBatteryPowerAndSpeed)
{
    WindowRig rig;
    rig.feed("540 00 10\r\n");                 // D
    rig.feedTimes("03B 0F E7 00 C8\r\n", 60);  // 2.5 A at 200 V: 500 W
    rig.feed("0B4 00 00 00 00 00 13 88\r\n");  // 50.00 km/h
    rig.tick();
    EXPECT_EQ(rig.view().foreColor({"ShiftStatus", 1}), colors::Green);
    for (int i : {0, 2, 3, 4})
        EXPECT_NE(rig.view().foreColor({"ShiftStatus", i}), colors::Green) << i;
    EXPECT_EQ(rig.text("BattKwValue"), "0.5");
    EXPECT_EQ(rig.text("BattkwUnit"), "kW");
    EXPECT_EQ(rig.text("BattVoltValue"), "200");
    EXPECT_EQ(rig.text("SpeedValue"), "50");
    EXPECT_EQ(rig.text("ShiftStatus", 1), "D");

    rig.feedTimes("03B 00 19 00 C8\r\n", 60); // 2.5 A discharging: -500 W
    rig.tick();
    EXPECT_EQ(rig.text("BattKwValue"), "-0.5");
}

// The dial faces are drawn from the needles' own formula: where the needle for a marked
// value points, just beyond its tip, the face has that mark's white tick; a few degrees
// off it has none.
TEST(DialArtwork, TicksLieWhereTheNeedlesPoint)
{
    struct Mark { const char* frame; int repeats; const char* needle; bool left; };
    const Mark marks[] = {
        {"3CB 40 50 00 78 00 19\r\n", 1, "AiguilleSoc", true},     // 60 %
        {"03B 0F 9C 00 D2\r\n", 60, "AiguilleAmp", true},          // +10 A
        {"03B 0F 06 00 D2\r\n", 60, "AiguilleAmp", true},          // +25 A (minor mark)
        {"3C8 00 00 7D\r\n", 1, "AiguilleRpm", false},              // 4000 rpm
        {"52C 00 A0\r\n", 1, "AiguilleTempTh", false},              // 80 degrees
        {"244 00 00 00 00 00 00 64\r\n", 1, "AiguilleAcc", true},  // 50 %
    };
    for (const Mark& m : marks) {
        WindowRig rig;
        rig.feedTimes(m.frame, m.repeats);
        rig.tick();
        const Line l = rig.view().line({m.needle});
        const double cx = m.left ? 2010 : 5920, cy = m.left ? 2850 : 2440, r2 = m.left ? 1600 : 2040;
        const double angle = std::atan2(-(l.x2 - cx), l.y2 - cy) * 180 / 3.14159;
        rig.view().setVisible({m.needle}, false); // the face alone
        const QImage face = rig.grab("CadransBmp");
        auto brightness = [&](double a) {
            const QPointF p = needleEnd(cx, cy, r2 + 130, a) / 15;
            const QColor c = face.pixelColor(p.toPoint());
            return c.red() + c.green() + c.blue();
        };
        // A white tick sums to about 715; the brightest colour band (amber) to 475.
        EXPECT_GT(brightness(angle), 620) << m.frame;
        EXPECT_LT(brightness(angle + 4), 520) << m.frame;
        EXPECT_LT(brightness(angle - 4), 520) << m.frame;
    }
}

} // namespace
