// The dashboard driven the way the car drives it: a burst of adapter text through the
// frame decoder, then main ticks; checks read the dashboard's figures, in both adapter
// forms and both unit systems.
#include "dashboard/DecoderEvents.h"
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
        std::vector<std::pair<Field<std::string> Dashboard::*, const char*>> figures;
    };
    const Case cases[] = {
        // 10.0 A charging at 210 V, 2016 rpm, 25 % charge, accelerator 7, lever in D, tank 40 %.
        {true, true,
         "03B 0F 9C 00 D2 00\r\n3C8 00 00 3F 00 00\r\n3CB 45 46 00 32 00 1E\r\n244 00 00 00 00 00 00 07\r\n"
         "540 00 56\r\n5A4 00 10\r\n52C 00 B4\r\n039 5A 00 20\r\n",
         100,
         {{&Dashboard::current, "10.0"}, {&Dashboard::batteryPower, "2.1"}, {&Dashboard::batteryPowerUnit, "kW"},
          {&Dashboard::rpm, "2020"}, {&Dashboard::soc, "25.0"}, {&Dashboard::accel, "3.5"}, {&Dashboard::tank, "40"},
          {&Dashboard::coolant, "90.0"}, {&Dashboard::batteryTemp, "30"},
          {&Dashboard::consumption, "99.9"}}}, // standing still with the engine running
        // Discharging 200.0 A (beyond full scale), 80 km/h, coolant 90 C, battery 30 C.
        {false, false, "t03B407D000D2\rt0B4700000000001F40\rt52C200B4\rt03935A0020\rt3CB6454600C8001E\r", -2000,
         {{&Dashboard::current, "-200.0"}, {&Dashboard::speed, "50"}, {&Dashboard::coolant, "194.0"},
          {&Dashboard::batteryTemp, "86"}, {&Dashboard::soc, "100.0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.elm327 ? "ELM327" : "CANUSB");
        VehicleState state;
        MonitorSettings settings;
        ManualClock clock;
        DashboardModel model{state, settings};
        CurrentAverage average;
        DecoderEvents events{model, average, state};
        FrameDecoder decoder{state, settings, clock, events};
        settings.UseElm327 = c.elm327;
        settings.MetricUnits = settings.Celsius = c.metric;
        for (int i = 0; i < 50; ++i) {
            decoder.decodeFrames(c.burst);
            clock.advance(100);
            average.sample(state);
            model.refreshOnTick();
        }
        EXPECT_EQ(state.BatteryCurrentAvg, c.currentAvg);
        const Dashboard& d = model.dashboard();
        for (const auto& [figure, text] : c.figures) EXPECT_EQ((d.*figure).value, text) << text;
        if (c.elm327) {
            EXPECT_EQ(d.decoderLabels[static_cast<int>(DecoderLabel::ChargeLimit)].value, "69");
            EXPECT_EQ(d.decoderLabels[static_cast<int>(DecoderLabel::DischargeLimit)].value, "70");
            EXPECT_EQ(d.shiftSelected.value, 1); // D
            EXPECT_TRUE(d.map.value.inRange);
        }
    }
}
