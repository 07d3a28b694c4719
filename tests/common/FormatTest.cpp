#include "common/Format.h"

#include <gtest/gtest.h>

using namespace vcm;

struct NumberCase { double value; const char* pattern; char sep; const char* expected; };

class NumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormat, MatchesDashboardText)
{
    const auto& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.pattern, c.sep), c.expected) << c.value << " " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(Patterns, NumberFormat, ::testing::Values(
    NumberCase{12.5, "0", '.', "12"},        // half to even
    NumberCase{13.5, "0", '.', "14"},
    NumberCase{-0.4, "0", '.', "0"},         // no "-0"
    NumberCase{-2.5, "0", '.', "-2"},
    NumberCase{4.25, "0.0", ',', "4,2"},     // exact binary tie rounds to even
    NumberCase{9.96, "0.0", '.', "10.0"},
    NumberCase{-0.5, "0.0", ',', "-0,5"},
    NumberCase{-0.04, "0.0", '.', "0.0"},
    NumberCase{4.999, "0.00", '.', "5.00"},
    NumberCase{1.2345678, "0.000", ',', "1,235"},
    NumberCase{5, "00", '.', "05"},
    NumberCase{123, "00", '.', "123"},
    NumberCase{0, "#", '.', ""},
    NumberCase{0.4, "#", '.', ""},
    NumberCase{1234.4, "#", '.', "1234"},
    NumberCase{1e9, "0", '.', "1000000000"}));

TEST(NumberFormat, UnknownPatternIsRejected)
{
    EXPECT_THROW(formatNumber(1, "0.0000", '.'), std::invalid_argument);
}

TEST(GeneralFormat, ShortestText)
{
    EXPECT_EQ(formatGeneral(12.5, ','), "12,5");
    EXPECT_EQ(formatGeneral(-3, '.'), "-3");
    EXPECT_EQ(formatGeneral(-0.0, '.'), "0");
}

TEST(DateFormat, LogPatterns)
{
    const DateTime t = DateTime::fromCivil({2026, 12, 4, 9, 10, 5});
    EXPECT_EQ(formatDateTime(t, "dd/mm/yyyy"), "04/12/2026");
    EXPECT_EQ(formatDateTime(t, "hh:mm:ss"), "09:10:05");
    EXPECT_EQ(formatDateTime(t, "ddmmyyyy_hhnn"), "04122026_0910");
    EXPECT_EQ(formatDateTime(t, "dd:mm:yy"), "04:12:26");
    EXPECT_EQ(formatDateTime(t, "hh:mm"), "09:10");
}

TEST(LeadingNumber, StopsAtFirstForeignCharacter)
{
    EXPECT_DOUBLE_EQ(leadingNumber("12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(leadingNumber("  -3"), -3);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("61.7,2"), 61.7);
    EXPECT_DOUBLE_EQ(leadingNumber("1.2.3"), 1.2);
}
