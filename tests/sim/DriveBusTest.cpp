// The simulated car's bus: identifiers at their measured rates, a bus that is never
// double-booked, and a drive that depends only on its seed.
#include "sources/sim/DriveBus.h"

#include <gtest/gtest.h>

#include <map>

using namespace vcm::sim;

namespace {

std::vector<CanFrame> framesOf(std::uint64_t seed, double untilMs, double stepMs = 250)
{
    DriveBus bus(seed);
    std::vector<CanFrame> out;
    for (double t = stepMs; t < untilMs; t += stepMs) bus.framesUntil(t, out);
    bus.framesUntil(untilMs, out);
    return out;
}

} // namespace

TEST(DriveBus, EachIdentifierComesAtItsMeasuredPeriod)
{
    struct Rate { std::uint16_t id; double periodMs; };
    const Rate rates[] = {{0x030, 6},    {0x038, 8},    {0x039, 8},    {0x03A, 8},    {0x03B, 8},
                          {0x025, 13},   {0x0B4, 14},   {0x244, 25},   {0x348, 44},   {0x3C8, 70},
                          {0x3CA, 108},  {0x3CB, 108},  {0x3CF, 139},  {0x5EC, 526},  {0x526, 530},
                          {0x540, 1049}, {0x52C, 1050}, {0x5A4, 3400}};
    const double minute = 60000;
    auto frames = framesOf(5, minute);
    std::map<std::uint16_t, int> count;
    for (const auto& f : frames) ++count[f.id];
    for (const auto& r : rates) {
        double expected = minute / r.periodMs;
        EXPECT_NEAR(count[r.id], expected, std::max(1.0, expected * 0.01)) << std::hex << r.id;
    }
    // Sent on change as well: at least their periodic count.
    EXPECT_GE(count[0x529], 59);
    EXPECT_GE(count[0x520], 26);
    // About 1500 frames a second in all, with identifiers the dashboard ignores.
    EXPECT_NEAR(static_cast<double>(frames.size()) / 60, 1500, 75);
    EXPECT_GT(count.size(), 25u);
}

TEST(DriveBus, FramesAreInTimeOrderAndNeverOverlapOnTheWire)
{
    auto frames = framesOf(2, 20000, 7);
    ASSERT_GT(frames.size(), 20000u);
    for (std::size_t k = 1; k < frames.size(); ++k) {
        double gap = frames[k].timeMs - frames[k - 1].timeMs;
        ASSERT_GE(gap, frameDurationMs(frames[k].length) - 1e-9) << "frame " << k << " overlaps the one before";
    }
}

TEST(DriveBus, SameSeedSameDriveWhateverTheCallPattern)
{
    auto a = framesOf(42, 30000, 1000);
    auto b = framesOf(42, 30000, 3.7);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_TRUE(a == b);
    auto c = framesOf(43, 30000, 1000);
    EXPECT_FALSE(a == c);
}

