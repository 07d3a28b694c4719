// The dashboard driven the way the car drives it: a burst of adapter text through the
// frame decoder, then main ticks; checks read the window's captions and colours, in
// both adapter forms and both unit systems.
#include "common/MemoryView.h"
#include "dashboard/qt/DialLayout.h"
#include "dashboard/Panels.h"
#include "decode/FrameDecoder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using namespace vcm;

TEST(AdapterText, BurstsOfEitherAdapterMoveEveryPanel)
{
    struct Case {
        bool elm327, metric;
        std::string burst;
        std::int16_t currentAvg;
        std::vector<std::pair<const char*, const char*>> captions;
    };
    const Case cases[] = {
        // 10.0 A charging at 210 V, 2016 rpm, 25 % charge, accelerator 7, lever in D, tank 40 %.
        {true, true,
         "03B 0F 9C 00 D2 00\r\n3C8 00 00 3F 00 00\r\n3CB 45 46 00 32 00 1E\r\n244 00 00 00 00 00 00 07\r\n"
         "540 00 56\r\n5A4 00 10\r\n52C 00 B4\r\n039 5A 00 20\r\n",
         100,
         {{"CurrentValue", "10.0"}, {"BattKwValue", "2.1"}, {"BattkwUnit", "kW"}, {"RpmValue", "2020"},
          {"StateValue", "25.0"}, {"AccValue", "3.5"}, {"TankValue", "40"}, {"CoolantTempValue", "90.0"},
          {"MaxChrgValue", "69"}, {"MaxDchrgValue", "70"}, {"BattTempValue", "30"},
          {"MpgValue", "99.9"}}}, // standing still with the engine running
        // Discharging 200.0 A (beyond full scale), 80 km/h, coolant 90 C, battery 30 C.
        {false, false, "t03B407D000D2\rt0B4700000000001F40\rt52C200B4\rt03935A0020\rt3CB6454600C8001E\r", -2000,
         {{"CurrentValue", "-200.0"}, {"SpeedValue", "50"}, {"CoolantTempValue", "194.0"}, {"BattTempValue", "86"},
          {"StateValue", "100.0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elm327 ? "ELM327" : "CANUSB");
        VehicleState state;
        MonitorSettings settings;
        MemoryView view;
        ManualClock clock;
        Panels panels{state, settings, view, clock};
        FrameDecoder decoder{state, settings, clock, panels.decoderSink()};
        settings.UseElm327 = c.elm327;
        settings.MetricUnits = settings.Celsius = c.metric;
        applyDesign(view);
        for (int i = 0; i < 50; ++i) {
            decoder.decodeFrames(c.burst);
            clock.advance(100);
            panels.refreshOnTick();
        }
        EXPECT_EQ(state.BatteryCurrentAvg, c.currentAvg);
        for (const auto& [label, caption] : c.captions) EXPECT_EQ(view.text({label}), caption) << label;
        if (c.elm327) {
            EXPECT_EQ(view.foreColor({"ShiftStatus", 1}), colors::Green);
            EXPECT_EQ(view.foreColor({"ShiftStatus", 4}), colors::SystemText);
            EXPECT_TRUE(view.isVisible({"CartoBmp"}));
        }
    }
}
