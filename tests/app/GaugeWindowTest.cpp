// Adapter text through the real decoder and main tick into the window: captions,
// colours, visibility and needle end points as the driver sees them, and the dial faces'
// ticks under the needles.
#include "WindowRig.h"

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

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

// An ELM327 monitor line, then a tick; the current is a moving average of 50 frames.
void show(WindowRig& rig, const char* frame)
{
    rig.feed(frame, std::string_view(frame).starts_with("03B") ? 60 : 1);
    rig.tick(2);
}

struct GaugeCase {
    const char* frame;
    const char* valueLabel;
    const char* caption;
    const char* needle;
    bool left;
    double angle;      // degrees; < -999: needle hidden
    Color color;       // 0: any
};

class GaugeInWindow : public ::testing::TestWithParam<GaugeCase> {};

TEST_P(GaugeInWindow, CaptionNeedleAndColour)
{
    const GaugeCase& c = GetParam();
    WindowRig rig;
    show(rig, c.frame);
    EXPECT_EQ(rig.text(c.valueLabel), c.caption);
    if (std::string_view(c.needle) == "AiguilleRpm") {
        EXPECT_EQ(rig.visible("RpmUnit"), c.angle > -999); // no unit without a needle
    }
    if (c.angle < -999) {
        EXPECT_FALSE(rig.visible(c.needle));
        return;
    }
    ASSERT_TRUE(rig.visible(c.needle));
    const DialSpec& d = c.left ? kLeft : kRight;
    const Line l = rig.view().line({c.needle});
    const QPointF p1 = needleEnd(d, d.r1, c.angle), p2 = needleEnd(d, d.r2, c.angle);
    for (auto [got, want] : {std::pair{l.x1, p1.x()}, {l.y1, p1.y()}, {l.x2, p2.x()}, {l.y2, p2.y()}})
        EXPECT_NEAR(got, want, 1e-6);
    if (c.color == 0) return;
    EXPECT_EQ(rig.view().foreColor({c.needle}), c.color);
    // And on screen: the middle of the needle is painted in that colour.
    const QColor seen = rig.grab("CadransPic").pixelColor(((p1 + p2) / 2 / 15).toPoint());
    const QColor want(int(c.color & 0xFF), int((c.color >> 8) & 0xFF), int((c.color >> 16) & 0xFF));
    EXPECT_LT(std::abs(seen.red() - want.red()) + std::abs(seen.green() - want.green()) +
                  std::abs(seen.blue() - want.blue()), 60) << seen.name().toStdString();
}

// 03B: current = -s12(bytes 1-2) tenths; 3C8: rpm = byte 3 x 32; 3CB: charge = bytes
// 3-4 x 5 tenths; 244: accelerator byte 7; 52C: coolant = byte 2 x 5 tenths.
INSTANTIATE_TEST_SUITE_P(Dashboard, GaugeInWindow, ::testing::Values(
    GaugeCase{"03B 0F 9C 00 D2\r\n", "CurrentValue", "10.0", "AiguilleAmp", true, 210, colors::Green},
    GaugeCase{"03B 0F 9B 00 D2\r\n", "CurrentValue", "10", "AiguilleAmp", true, 180 + 1001 * 0.03, colors::Green},
    GaugeCase{"03B 00 64 00 D2\r\n", "CurrentValue", "-10.0", "AiguilleAmp", true, 150, colors::Red},
    GaugeCase{"03B 00 65 00 D2\r\n", "CurrentValue", "-10.1", "AiguilleAmp", true, 180 - 1001 * 0.03, colors::Red},
    GaugeCase{"03B 0C E0 00 D2\r\n", "CurrentValue", "80", "AiguilleAmp", true, 180 + 1980 * 0.03, 0}, // (800-100) x 1.4 + 1000
    GaugeCase{"03B 0A 24 00 D2\r\n", "CurrentValue", "150", "AiguilleAmp", true, 180 + 2960 * 0.03, 0},
    GaugeCase{"03B 0A 23 00 D2\r\n", "CurrentValue", "150", "AiguilleAmp", true, 270, 0}, // rests right beyond 150 A
    GaugeCase{"03B 07 D0 00 D2\r\n", "CurrentValue", "-200.0", "AiguilleAmp", true, 90, colors::Red},
    GaugeCase{"3C8 00 00 1C\r\n", "RpmValue", "900", "AiguilleRpm", false, -1000, 0},
    GaugeCase{"3C8 00 00 1D\r\n", "RpmValue", "930", "AiguilleRpm", false, 28 / 11.6 + 114, 0},
    GaugeCase{"3C8 00 00 3F\r\n", "RpmValue", "2020", "AiguilleRpm", false, 16 / 23.0 + 208, 0},
    GaugeCase{"3C8 00 00 9C\r\n", "RpmValue", "4990", "AiguilleRpm", false, 2992 / 23.0 + 208, 0},
    GaugeCase{"3CB 40 50 00 32 00 19\r\n", "StateValue", "25.0", "AiguilleSoc", true, -90, colors::Red},
    GaugeCase{"3CB 40 50 00 8C 00 19\r\n", "StateValue", "70.0", "AiguilleSoc", true, -30, colors::Green},
    GaugeCase{"244 00 00 00 00 00 00 07\r\n", "AccValue", "3.5", "AiguilleAcc", true, 69, 0},
    GaugeCase{"244 00 00 00 00 00 00 0F\r\n", "AccValue", "7", "AiguilleAcc", true, 90 - (4 * 60 / 190.0 + 30), 0},
    GaugeCase{"244 00 00 00 00 00 00 C8\r\n", "AccValue", "100", "AiguilleAcc", true, 0, 0},
    GaugeCase{"244 00 00 00 00 00 00 FF\r\n", "AccValue", "127", "AiguilleAcc", true, 90 - (244 * 60 / 190.0 + 30), 0},
    GaugeCase{"039 50 00 00\r\n52C 00 64\r\n", "CoolantTempValue", "50.0", "AiguilleTempTh", false, 48 - 500 / 13.5,
              colors::Green},
    GaugeCase{"039 50 00 00\r\n52C 00 96\r\n", "CoolantTempValue", "75.0", "AiguilleTempTh", false, 48 - 750 / 13.5,
              colors::Red}));

// The dial faces are drawn from the needles' own formula: where the needle for a marked
// value points, just beyond its tip, the face has that mark's white tick; a few degrees
// off it has none.
TEST(DialArtwork, TicksLieWhereTheNeedlesPoint)
{
    struct Mark { const char* frame; const char* needle; bool left; };
    const Mark marks[] = {
        {"3CB 40 50 00 78 00 19\r\n", "AiguilleSoc", true},    // 60 %
        {"03B 0F 9C 00 D2\r\n", "AiguilleAmp", true},          // +10 A
        {"03B 0F 06 00 D2\r\n", "AiguilleAmp", true},          // +25 A (minor mark)
        {"3C8 00 00 7D\r\n", "AiguilleRpm", false},            // 4000 rpm
        {"52C 00 A0\r\n", "AiguilleTempTh", false},            // 80 degrees
        {"244 00 00 00 00 00 00 64\r\n", "AiguilleAcc", true}, // 50 %
    };
    for (const Mark& m : marks) {
        SCOPED_TRACE(m.frame);
        WindowRig rig;
        show(rig, m.frame);
        const DialSpec& d = m.left ? kLeft : kRight;
        const Line l = rig.view().line({m.needle});
        const double angle = std::atan2(-(l.x2 - d.cx), l.y2 - d.cy) * 180 / 3.14159;
        rig.view().setVisible({m.needle}, false); // the face alone
        const QImage face = rig.grab("CadransBmp");
        auto brightness = [&](double a) {
            const QColor c = face.pixelColor((needleEnd(d, d.r2 + 130, a) / 15).toPoint());
            return c.red() + c.green() + c.blue();
        };
        // A white tick sums to about 715; the brightest colour band (amber) to 475.
        EXPECT_GT(brightness(angle), 620);
        EXPECT_LT(brightness(angle + 4), 520);
        EXPECT_LT(brightness(angle - 4), 520);
    }
}

} // namespace
