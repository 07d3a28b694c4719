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
