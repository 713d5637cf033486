#include "graph/round_trip_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>

TEST(RoundTripText, ShortestTextThatReadsBack)
{
    struct text_case {
        double value;
        const char* text;
    };
    const text_case cases[] = {
        {0.1, "0.1"},
        {1.5e-6, "1.5e-006"},
        {2147483647.0, "2147483647"},
        {-0.0, "-0"},
        {std::numeric_limits<double>::infinity(), "inf"},
        {-std::numeric_limits<double>::infinity(), "-inf"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"},
    };
    for (const text_case& c : cases) {
        EXPECT_EQ(round_trip_text(c.value), c.text) << c.value;
    }
    for (const double value : {1.0 / 3.0, 2.0 * 3.14159265358979323846 * 1100.0, 4.5753829185897304e-07,
                               5e-324, 1.7976931348623157e308}) {
        EXPECT_EQ(std::strtod(round_trip_text(value).c_str(), nullptr), value) << round_trip_text(value);
    }
}
