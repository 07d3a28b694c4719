// Fuel and distance integration and the instant consumption, against a manual clock (what
// the accumulators come to in litres and metres: Replay.SteadyDriveGivesTheRowsWorkedOutByHand).
#include "DecoderRig.h"

#include <gtest/gtest.h>

namespace vcm::test {
namespace {

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
