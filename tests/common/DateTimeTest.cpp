#include "common/Clock.h"
#include "common/DateTime.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vcm;

TEST(DateTime, CivilRoundTripAcrossLeapDay)
{
    const CivilTime in{2028, 2, 29, 23, 59, 59};
    const CivilTime out = DateTime::fromCivil(in).civil();
    EXPECT_EQ(std::tie(out.year, out.month, out.day, out.hour, out.minute, out.second),
              std::tie(in.year, in.month, in.day, in.hour, in.minute, in.second));
    EXPECT_EQ(DateTime::fromSeconds(DateTime::fromCivil(in).seconds() + 1).civil().month, 3);
}

TEST(DateTime, MinuteBoundariesAreThoseOfTheClock)
{
    const DateTime a = DateTime::fromCivil({2026, 12, 4, 9, 10, 59});
    const DateTime b = DateTime::fromCivil({2026, 12, 4, 9, 11, 0});
    EXPECT_EQ(DateTime::minuteBoundariesBetween(a, b), 1); // one second apart, one boundary
    EXPECT_EQ(DateTime::minuteBoundariesBetween(b, DateTime::fromCivil({2026, 12, 4, 9, 11, 59})), 0);
}

TEST(ManualClock, AdvanceMovesBothClocksInStep)
{
    ManualClock clock(1000, DateTime::fromCivil({2026, 12, 4, 9, 10, 0}));
    for (int i = 0; i < 25; ++i) clock.advance(100);
    EXPECT_DOUBLE_EQ(clock.tickCount(), 3500);
    EXPECT_EQ(clock.now().civil().second, 2); // 2.5 s on: two whole seconds
}
