#include "common/Format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <vector>

using namespace vcm;

struct NumberCase { double value; const char* pattern; char sep; const char* expected; };

class NumberFormat : public ::testing::TestWithParam<NumberCase> {};

TEST_P(NumberFormat, MatchesDashboardText)
{
    const auto& c = GetParam();
    EXPECT_EQ(formatNumber(c.value, c.pattern, c.sep), c.expected) << c.value << " " << c.pattern;
}

// Plain rounding of "0".."0.000" is checked against the library below; these rows keep
// what that oracle cannot see: the decimal comma, zero padding and the blank "#".
INSTANTIATE_TEST_SUITE_P(Patterns, NumberFormat, ::testing::Values(
    NumberCase{4.25, "0.0", ',', "4,2"},     // exact binary tie rounds to even
    NumberCase{-0.5, "0.0", ',', "-0,5"},
    NumberCase{1.2345678, "0.000", ',', "1,235"},
    NumberCase{5, "00", '.', "05"},
    NumberCase{123, "00", '.', "123"},
    NumberCase{0, "#", '.', ""},
    NumberCase{0.4, "#", '.', ""},
    NumberCase{1234.4, "#", '.', "1234"}));

// The library's own fixed-notation rounding, with the dashboard's "no -0" rule: the
// oracle for the formatter's faster integer route.
std::string libraryFixed(double value, int decimals)
{
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string text(buf, end);
    if (text.find_first_of("123456789") == std::string::npos && text.front() == '-') text.erase(0, 1);
    return text;
}

TEST(NumberFormat, RoundsExactlyAsTheLibraryDoes)
{
    const char* patterns[] = {"0", "0.0", "0.00", "0.000"};
    std::vector<double> values = {0.05, 0.15, 0.25, 0.35, 0.45, 1.005, 2.675, 1.0005, -1.0005, -0.05, -0.25,
                                  0.5, 1.5, 2.5, -0.5, -1.5, 4503599627370495.5, 4503599627370497.0, 1e15 + 0.5,
                                  1e40, -1e40, 5e-324, -5e-324, 0.0, -0.0};
    std::mt19937_64 random(20261206);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-8, 18);
    std::uniform_int_distribution<long long> halves(-2000000, 2000000);
    for (int i = 0; i < 200000; ++i) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        // Near half-way points of each pattern: the tie itself and its neighbours.
        const double tie = (static_cast<double>(halves(random)) + 0.5) / std::pow(10.0, i % 4);
        values.push_back(tie);
        values.push_back(std::nextafter(tie, 1e300));
        values.push_back(std::nextafter(tie, -1e300));
    }
    int wrong = 0;
    for (double v : values) {
        for (int d = 0; d < 4; ++d) {
            const std::string got = formatNumber(v, patterns[d], '.');
            if (got != libraryFixed(v, d) && ++wrong <= 10)
                ADD_FAILURE() << std::hexfloat << v << " with " << patterns[d] << ": " << got << " not "
                              << libraryFixed(v, d);
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST(GeneralFormat, ShortestText)
{
    EXPECT_EQ(formatGeneral(12.5, ','), "12,5");
    EXPECT_EQ(formatGeneral(-3, '.'), "-3");
    EXPECT_EQ(formatGeneral(-0.0, '.'), "0");
}

TEST(LeadingNumber, StopsAtFirstForeignCharacter)
{
    EXPECT_DOUBLE_EQ(leadingNumber("12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(leadingNumber("  -3"), -3);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("61.7,2"), 61.7);
    EXPECT_DOUBLE_EQ(leadingNumber("1.2.3"), 1.2);
}
