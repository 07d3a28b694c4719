// Fuel and distance integration and the instant consumption, against a manual clock.
#include "DecoderRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

TEST(Integration, StepsWeighElapsedTimeWithThePreviousRate)
{
    DecoderRig rig;
    resetTrip(rig.state, 1000);
    rig.frame("0B4 00 00 00 00 00 1F 40 00"); // 80 km/h
    rig.frame("3C8 00 00 32 00 00");          // 1600 rpm, injector still 0
    EXPECT_DOUBLE_EQ(rig.state.InstantConsumption, 0);

    rig.clock.setTick(1010);
    rig.frame("520 00 01 2C 00"); // injector 300
    EXPECT_DOUBLE_EQ(rig.state.FuelAccumulator, 0); // 10 ms at the old rate 0

    rig.clock.setTick(1118);
    rig.frame("3CA 00 00 00 00 00");
    EXPECT_DOUBLE_EQ(rig.state.FuelAccumulator, 108.0 * 300 * 1600); // injector x rpm
    EXPECT_DOUBLE_EQ(rig.state.DistanceAccumulator, 118.0 * 80);
    EXPECT_DOUBLE_EQ(rig.state.LastDistanceTick, 1118);

    // Engine stops: that step does not accumulate, and the rate becomes 0.
    rig.clock.setTick(1300);
    rig.frame("3C8 00 00 00 00 00");
    EXPECT_DOUBLE_EQ(rig.state.FuelAccumulator, 108.0 * 480000);
    EXPECT_DOUBLE_EQ(rig.state.FuelFlowRate, 0);
    EXPECT_DOUBLE_EQ(rig.state.LastFuelTick, 1300);
    EXPECT_DOUBLE_EQ(rig.state.InstantConsumption, 0);
}

// An hour at a steady 100 km/h burning 4 l/h: the accumulators read back as 100 km
// and 4 litres in the units the logs and the trip file use, and 4 l/100 km.
TEST(Integration, AnHourOfSteadyDrivingReadsBackInLitresAndKilometres)
{
    for (bool elm : {true, false}) {
        for (bool metric : {true, false}) {
            SCOPED_TRACE(std::string(elm ? "ELM327" : "CANUSB") + (metric ? " metric" : " US"));
            DecoderRig rig(elm, metric);
            resetTrip(rig.state, rig.clock.tickCount());
            rig.frame("0B4 00 00 00 00 00 27 10 00"); // 100.00 km/h
            rig.frame("3C8 00 00 3C 00 00");          // 1920 rpm
            rig.frame("520 00 02 EE 00");             // injector 750: 750 x 1920 / 360000 = 4 l/h
            const int steps = 3600 * 1000 / 108;
            for (int i = 0; i < steps; ++i) {
                rig.clock.advance(108);
                rig.frame("3CA 00 00 00 00 00");
            }
            const double hours = steps * 108 / 3.6e6;
            EXPECT_NEAR(rig.state.DistanceAccumulator / 3.6e6, 100 * hours, 1e-9);
            EXPECT_NEAR(rig.state.FuelAccumulator / 1.296e12, 4 * hours, 1e-9);
            if (metric) EXPECT_NEAR(rig.state.InstantConsumption, 4.0, 1e-12);
            else EXPECT_NEAR(rig.state.InstantConsumption, 4.0 * 100 / 62, 1e-12); // per 62 mph, whole
        }
    }
}

TEST(Integration, ConsumptionStandingAndRolling)
{
    struct Case {
        const char* speed;
        const char* rpm;
        double expected;
    } cases[] = {
        {"0B4 00 00 00 00 00 00 00 00", "3C8 00 00 32 00 00", 99.9}, // engine on, standing
        {"0B4 00 00 00 00 00 00 00 00", "3C8 00 00 00 00 00", 0},    // all stopped
        {"0B4 00 00 00 00 00 13 88 00", "3C8 00 00 00 00 00", 0},    // EV rolling at 50 km/h
        {"0B4 00 00 00 00 00 13 88 00", "3C8 00 00 32 00 00", 300.0 * 1600 / 50 / 3600},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.speed) + " / " + c.rpm);
        DecoderRig rig;
        rig.frame("520 00 01 2C 00");
        rig.frame(c.speed);
        rig.frame(c.rpm);
        EXPECT_NEAR(rig.state.InstantConsumption, c.expected, 1e-12);
        rig.state.InstantConsumption = -1;
        rig.frame("3CA 00 00 00 00 00"); // the integration clock updates it too
        EXPECT_NEAR(rig.state.InstantConsumption, c.expected, 1e-12);
    }
}

// The distance step counts whole milliseconds, as a 32-bit number.
TEST(Integration, DistanceStepUsesWholeMilliseconds)
{
    DecoderRig rig;
    resetTrip(rig.state, 1000);
    rig.clock.setTick(1000);
    rig.frame("0B4 00 00 00 00 00 27 10 00");
    rig.clock.setTick(1100.5); // 100.5 -> 100 (halves to even)
    rig.frame("3CA 00 00 00 00 00");
    EXPECT_DOUBLE_EQ(rig.state.DistanceAccumulator, 100.0 * 100);
    rig.clock.setTick(1100.5 + 5e12); // far beyond 32 bits: clamped, never undefined
    rig.frame("3CA 00 00 00 00 00");
    EXPECT_DOUBLE_EQ(rig.state.DistanceAccumulator, 100.0 * 100 + 2147483647.0 * 100);
}

} // namespace
} // namespace vcm::test
