// The dashboard driven the way the car drives it: adapter text through the frame decoder,
// then main ticks; checks read the window's captions, colours and needles.
#include "common/MemoryView.h"
#include "dashboard/DialLayout.h"
#include "dashboard/NeedleGeometry.h"
#include "dashboard/Panels.h"
#include "decode/FrameDecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace vcm;

namespace {

struct Car {
    VehicleState state;
    MonitorSettings settings;
    MemoryView view;
    ManualClock clock;
    Panels panels{state, settings, view, clock};
    FrameDecoder decoder{state, settings, clock, panels.decoderSink()};

    explicit Car(bool elm327, bool metric = true)
    {
        settings.UseElm327 = elm327;
        settings.MetricUnits = metric;
        settings.Celsius = metric;
        applyDesign(view);
    }
    void tick()
    {
        clock.advance(100);
        panels.refreshOnTick();
    }
    std::string text(std::string_view name, int index = -1) const { return view.text({name, index}); }
};

double angleOf(const Line& l, const Dial& d)
{
    // Inverse of (cx - r sin t, cy + r cos t) at the needle's inner end, in degrees 0..360.
    const double t = std::atan2(-(l.x1 - d.cx), l.y1 - d.cy) * 180 / GaugePi;
    return t < 0 ? t + 360 : t;
}

} // namespace

TEST(AdapterText, Elm327MonitorLinesMoveEveryPanel)
{
    Car car(true);
    // 10.0 A charging at 210 V, 2016 rpm, 25 % charge, accelerator 7, lever in D, tank 40 %.
    const std::string burst = "03B 0F 9C 00 D2 00\r\n"
                              "3C8 00 00 3F 00 00\r\n"
                              "3CB 45 46 00 32 00 1E\r\n"
                              "244 00 00 00 00 00 00 07\r\n"
                              "540 00 56\r\n"
                              "5A4 00 10\r\n"
                              "52C 00 B4\r\n"
                              "039 5A 00 20\r\n";
    for (int i = 0; i < 50; ++i) {
        car.decoder.decodeFrames(burst);
        car.tick();
    }
    EXPECT_EQ(car.state.BatteryCurrentAvg, 100);
    EXPECT_EQ(car.text("CurrentValue"), "10.0");
    EXPECT_EQ(car.text("BattKwValue"), "2.1");
    EXPECT_EQ(car.text("BattkwUnit"), "kW");
    EXPECT_EQ(car.text("RpmValue"), "2020");
    EXPECT_EQ(car.text("StateValue"), "25.0");
    EXPECT_NEAR(angleOf(car.view.line({"AiguilleSoc"}), LeftDial), 270, 1e-3);
    EXPECT_EQ(car.text("AccValue"), "3.5");
    EXPECT_NEAR(angleOf(car.view.line({"AiguilleAcc"}), LeftDial), 69, 1e-3);
    EXPECT_EQ(car.view.foreColor({"ShiftStatus", 1}), colors::Green);
    EXPECT_EQ(car.view.foreColor({"ShiftStatus", 4}), colors::SystemText);
    EXPECT_EQ(car.text("TankValue"), "40");
    EXPECT_EQ(car.text("CoolantTempValue"), "90.0");
    EXPECT_EQ(car.text("MaxChrgValue"), "69");
    EXPECT_EQ(car.text("MaxDchrgValue"), "70");
    EXPECT_EQ(car.text("BattTempValue"), "30");
    // Standing still with the engine running: 99.9 and the engine map shows the point.
    EXPECT_EQ(car.text("MpgValue"), "99.9");
    EXPECT_TRUE(car.view.isVisible({"CartoBmp"}));
}

TEST(AdapterText, CanusbFramesInFahrenheitAndMph)
{
    Car car(false, false);
    // Discharging 200.0 A (beyond full scale), 80 km/h, coolant 90 C, battery 30 C.
    const std::string burst = "t03B407D000D2\r"
                              "t0B4700000000001F40\r"
                              "t52C200B4\r"
                              "t03935A0020\r"
                              "t3CB6454600C8001E\r";
    for (int i = 0; i < 50; ++i) {
        car.decoder.decodeFrames(burst);
        car.tick();
    }
    EXPECT_EQ(car.state.BatteryCurrentAvg, -2000);
    EXPECT_EQ(car.text("CurrentValue"), "-200.0");
    EXPECT_EQ(car.text("SpeedValue"), "50"); // 80 km/h in whole mph
    EXPECT_EQ(car.text("CoolantTempValue"), "194.0");
    EXPECT_NEAR(angleOf(car.view.line({"AiguilleTempTh"}), RightDial), 360 + 48 - 900 / 13.5, 1e-3);
    EXPECT_EQ(car.text("BattTempValue"), "86");
    EXPECT_EQ(car.text("StateValue"), "100.0");
}
