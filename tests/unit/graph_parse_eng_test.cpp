#include "graph/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

struct parse_case {
    const char* text;
    double value;
    bool valid;
};

TEST(ParseEng, ReadsTypedNumbers)
{
    const parse_case cases[] = {
        {"1.5k", 1500, true},
        {"10m", 0.01, true},
        {"2E-3", 0.002, true},
        {"2e+3", 2000, true},
        {"-40", -40, true},
        {"0,5", 0.5, true},
        {"4k7", 4007, true},     // the digits after a suffix are a new group, unscaled
        {"1.5E3k", 1500, true},  // the k scales an empty group
        {"1kHz", 1000, false},   // H (hecto) scales an empty group; z is not a suffix
        {"1.2.3", 1.23, false},
        {"+5", 5, false},
        {"5 V", 0, false},  // with a validity flag, digits before a stray character are dropped
        {"", 0, false},
        {"12", 12, true},
        {"-2.5e-2", -0.025, true},
        {"1E1.5", std::pow(10.0, 1.5), true},
    };
    for (const parse_case& c : cases) {
        SCOPED_TRACE(c.text);
        bool valid = !c.valid;
        EXPECT_DOUBLE_EQ(parse_eng(c.text, &valid), c.value);
        EXPECT_EQ(valid, c.valid);
    }
}

TEST(ParseEng, WithoutValidityFlagStrayCharactersKeepTheDigits)
{
    EXPECT_DOUBLE_EQ(parse_eng("5 V"), 5);
    EXPECT_DOUBLE_EQ(parse_eng("1kHz"), 1000);
    EXPECT_DOUBLE_EQ(parse_eng("+5"), 5);
    EXPECT_DOUBLE_EQ(parse_eng(nullptr), 0);
    bool valid = true;
    EXPECT_DOUBLE_EQ(parse_eng(nullptr, &valid), 0);
    EXPECT_FALSE(valid);
}

// Every suffix letter gives exactly the double of the written number: small
// multipliers divide, so a typed "10u" equals the limit 1e-5 it is checked against.
TEST(ParseEng, SuffixLettersScaleExactly)
{
    const parse_case cases[] = {
        {"1P", 1e15, true},  {"1T", 1e12, true},  {"1t", 1e12, true},  {"1G", 1e9, true},
        {"1g", 1e9, true},   {"1M", 1e6, true},   {"1K", 1e3, true},   {"1k", 1e3, true},
        {"3H", 300, true},   {"3h", 300, true},   {"2D", 20, true},    {"47d", 4.7, true},
        {"5C", 0.05, true},  {"5c", 0.05, true},  {"1m", 1e-3, true},  {"10u", 1e-5, true},
        {"10U", 1e-5, true}, {"10n", 1e-8, true}, {"1N", 1e-9, true},  {"3p", 3e-12, true},
        {"1.5f", 1.5e-15, true}, {"1F", 1e-15, true}, {"3E-7", 3e-7, true},
    };
    for (const parse_case& c : cases) {
        SCOPED_TRACE(c.text);
        bool valid = false;
        EXPECT_EQ(parse_eng(c.text, &valid), c.value);
        EXPECT_EQ(valid, c.valid);
    }
}

TEST(ParseEng, OverlongTextGivesInfinityOrZeroWithoutFault)
{
    EXPECT_TRUE(std::isinf(parse_eng("1E999999999999")));
    EXPECT_EQ(parse_eng("1E-999999999999"), 0.0);
    EXPECT_EQ(parse_eng("0E999999999999"), 0.0);
    EXPECT_TRUE(std::isinf(parse_eng(std::string(400, '9').c_str())));
    EXPECT_NEAR(parse_eng(("0." + std::string(400, '3')).c_str()), 1.0 / 3.0, 1e-15);
}

}  // namespace
