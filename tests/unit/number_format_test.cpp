#include "graph/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

std::string eng(double value)
{
    char buffer[32];
    format_eng(value, buffer, sizeof buffer);
    return buffer;
}

std::string eng_label(long long value)
{
    char buffer[32];
    format_eng_label(value, buffer, sizeof buffer);
    return buffer;
}

std::string exp_compact(double value, int precision)
{
    char buffer[32];
    format_exp_compact(buffer, sizeof buffer, value, precision);
    return buffer;
}

struct number_text {
    double value;
    const char* text;
};

TEST(FormatEng, FiveDigitsWithPrefix)
{
    const number_text cases[] = {
        {5, "5.0000 "},
        {0.5, "500.00 m"},
        {12500, "12.500 k"},
        {-0.002, "-2.0000 m"},
        {999.99, "999.99 "},
        {1000, "1.0000 k"},
        {2e10, "20.000 G"},
        {2e12, "2.0000E12 "},
        {1e-13, "100.00E-15 "},
        {0.001, "1.0000 m"},
        {1e-12, "1.0000 p"},
        {999e9, "999.00 G"},
        {0, "0.0000 "},
        {-0.0, "0.0000 "},
        {10, "10.000 "},
        {-470e-3, "-470.00 m"},
        // A mantissa rounding up at its last decimal is not moved to the next prefix.
        {999.996, "1000.00 "},
        {9.99996, "10.0000 "},
        // An exact tie rounds to even, the same in both builds.
        {1.03125, "1.0312 "},
        // The ends of the double range, where a naive 10^-k overflows.
        {5e-324, "4.9407E-324 "},
        {1.7976931348623157e308, "179.77E306 "},
        {inf, "inf "},
        {-inf, "-inf "},
        {nan, "nan "},
    };
    for (const number_text& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(eng(c.value), c.text);
    }
}

TEST(FormatEng, WritesAtMostSizeMinusTwoCharacters)
{
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    format_eng(12500, buffer, 6);
    EXPECT_STREQ(buffer, "12.5");
    EXPECT_EQ(buffer[5], 'X');

    format_eng(12500, buffer, 1);
    EXPECT_STREQ(buffer, "");
    buffer[0] = 'X';
    format_eng(12500, buffer, 0);
    EXPECT_EQ(buffer[0], 'X');
    format_eng(12500, nullptr, 8);  // no buffer: nothing written, no crash
}

TEST(FormatEngLabel, ResistorCodeStyle)
{
    const struct {
        long long value;
        const char* label;
    } cases[] = {
        {1000, "1k"},    {4700, "4k7"},      {12500, "12k5"}, {1000000, "1M"}, {1001, "1k001"},
        {999, "999"},    {2, "2"},           {0, "0"},        {100000, "100k"}, {2200000, "2M2"},
        {10000, "10k"},  {-4700, "-4k7"},    {20000000000LL, "20G"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(eng_label(c.value), c.label);
    }
}

TEST(FormatEngLabel, SmallBufferStaysBounded)
{
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    format_eng_label(4700, buffer, 3);  // "4" fits; the prefix letter was cut off
    EXPECT_STREQ(buffer, "4");
    EXPECT_EQ(buffer[3], 'X');
}

TEST(FormatSiFixed, ThreeDecimalsAndLetter)
{
    const number_text cases[] = {
        {1500, "1.500k"},
        {0.25, "250.000m"},
        {42, "42.000"},
        {-40, "-40.000"},
        {0, "0.000"},
        {1, "1.000"},
        {0.0009995, "999.500u"},
        {2.5e-13, "250.000f"},
        {1e24, "1.000Y"},
        {1e30, "1000000.000Y"},
        {1e-24, "1.000y"},
        {1e-25, ""},
        {1e-5, "10.000u"},
        {inf, "inf"},
        {-inf, "-inf"},
        {nan, "nan"},
    };
    for (const number_text& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(format_si_fixed(c.value), c.text);
    }
    // The largest double is written in full, without overrunning anything.
    EXPECT_EQ(format_si_fixed(1.7976931348623157e308).size(), 285u + 5u);
}

TEST(FormatSiFixed, ReadsBackThroughParseEng)
{
    // Graph settings files store limits this way and read them back.
    for (double value : {1500.0, 0.25, 42.0, -40.0, 1e-5, 2.2e9, 4.7e-12, 3.3e14}) {
        SCOPED_TRACE(value);
        bool valid = false;
        EXPECT_NEAR(parse_eng(format_si_fixed(value).c_str(), &valid), value, std::abs(value) * 1e-6);
        EXPECT_TRUE(valid);
    }
}

TEST(FormatExpCompact, ShortExponent)
{
    const struct {
        double value;
        int precision;
        const char* text;
    } cases[] = {
        {1234.5, 5, "1.23450E3"},
        {1.2e-5, 1, "1.2E-5"},
        {0, 5, "0.00000E0"},
        {1e-10, 5, "1.00000E-10"},  // only leading zeros go, at most two
        {1e100, 2, "1.00E100"},
        {-1234.5, 5, "-1.23450E3"},
        {1e-300, 0, "1E-300"},
        {0.5, 3, "5.000E-1"},
        {inf, 5, "INF"},
        {-inf, 5, "-INF"},
        {nan, 5, "NAN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(exp_compact(c.value, c.precision), c.text);
    }
}

TEST(FormatExpCompact, OutputIsBounded)
{
    char buffer[8];
    std::memset(buffer, 'X', sizeof buffer);
    format_exp_compact(buffer, 4, 1234.5, 5);
    EXPECT_STREQ(buffer, "1.2");
    EXPECT_EQ(buffer[4], 'X');
    format_exp_compact(buffer, 0, 1234.5, 5);
    EXPECT_EQ(buffer[0], '1');
}

}  // namespace
