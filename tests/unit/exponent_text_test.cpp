#include "graph/exponent_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

struct exp_case {
    double value;
    int precision;
    bool upper;
    const char* text;
};

// The runtimes write two exponent digits for most of these; both builds must
// give three.
TEST(ExponentText, WritesAtLeastThreeExponentDigits)
{
    const exp_case cases[] = {
        {1234.5, 5, true, "1.23450E+003"},
        {1234.5, 5, false, "1.23450e+003"},
        {1.2e-5, 1, true, "1.2E-005"},
        {-0.5, 2, true, "-5.00E-001"},
        {0.0, 5, true, "0.00000E+000"},
        {-0.0, 2, false, "-0.00e+000"},
        {1e100, 2, true, "1.00E+100"},
        {1e-308, 3, false, "1.000e-308"},
        {5e-324, 1, true, "4.9E-324"},
        {1.7976931348623157e308, 4, true, "1.7977E+308"},
        {12345, 0, true, "1E+004"},
        {9.6, 0, false, "1e+001"},
        {1.5, -1, true, "1.500000E+000"},  // a negative precision means 6, as in printf
    };
    for (const exp_case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(exp_text(c.value, c.precision, c.upper), c.text);
    }
}

TEST(ExponentText, NonFiniteValuesAreSpelledTheSameInBothBuilds)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(exp_text(inf, 3), "INF");
    EXPECT_EQ(exp_text(-inf, 3), "-INF");
    EXPECT_EQ(exp_text(nan, 3), "NAN");
    EXPECT_EQ(exp_text(-nan, 3, false), "nan");
    EXPECT_EQ(exp_text(-inf, 3, false), "-inf");
}

TEST(ExponentText, OutputIsBoundedAndReturnsTheFullLength)
{
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(format_exp_text(buffer, 5, 1234.5, 5), 12);
    EXPECT_STREQ(buffer, "1.23");
    EXPECT_EQ(buffer[5], 'X');

    EXPECT_EQ(format_exp_text(nullptr, 0, 1234.5, 5), 12);
    buffer[0] = 'X';
    EXPECT_EQ(format_exp_text(buffer, 0, 1.0, 2), 9);
    EXPECT_EQ(buffer[0], 'X');
    EXPECT_EQ(format_exp_text(buffer, 1, 1.0, 2), 9);
    EXPECT_STREQ(buffer, "");

    EXPECT_EQ(format_exp_text(buffer, sizeof buffer, -1234.5, 5, false), 13);
    EXPECT_STREQ(buffer, "-1.23450e+003");
}

TEST(ExponentText, LongPrecisionsAreWrittenInFullUpToTheLimit)
{
    const std::string long_text = exp_text(1.0 / 3.0, 60);
    EXPECT_EQ(long_text.size(), 2u + 60u + 5u);
    EXPECT_EQ(long_text.substr(long_text.size() - 5), "E-001");
    // A wild precision is capped instead of asking for gigabytes.
    EXPECT_EQ(exp_text(1.0, 1 << 30).size(), 2u + 1000u + 5u);
}

}  // namespace

TEST(GeneralNumberText, ShortestFormWithThreeExponentDigits)
{
    struct general_case {
        double value;
        int significant;
        const char* text;
    };
    const general_case cases[] = {
        {1234.5, 17, "1234.5"},
        {2.0, 17, "2"},
        {1e-5, 17, "1.0000000000000001e-005"},
        {-2.5e300, 17, "-2.5000000000000001e+300"},
        {1e21, 6, "1e+021"},
        {0.0, 17, "0"},
    };
    for (const general_case& c : cases) {
        EXPECT_EQ(general_number_text(c.value, c.significant), c.text) << c.value;
    }
    EXPECT_EQ(general_number_text(-HUGE_VAL, 17), "-inf");
}
