// The system's locale information texts turned into number punctuation.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/system_number_punctuation.h"

namespace {

TEST(SystemNumberGrouping, SystemTextsBecomeFacetGroupings)
{
    const struct {
        const char* text;
        bool usable;
        std::string grouping;
    } cases[] = {
        {"3;0", true, "\3"},
        {"3;2;0", true, "\3\2"},
        {"3", true, std::string("\3") + static_cast<char>(CHAR_MAX)},
        {"3;2", true, std::string("\3\2") + static_cast<char>(CHAR_MAX)},
        {"0", true, ""},
        {"", true, ""},
        {"3;", false, ""},
        {";3", false, ""},
        {"12;0", false, ""},
        {"3;0;2", false, ""},
        {"0;0", false, ""},
        {"3,0", false, ""},
        {"x", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string grouping = "unchanged";
        EXPECT_EQ(grouping_from_system_text(c.text, &grouping), c.usable);
        EXPECT_EQ(grouping, c.usable ? c.grouping : "unchanged");
    }
}

TEST(SystemNumberPunctuation, SeparatorsAreSingleCharacters)
{
    const struct {
        const char* decimal;
        const char* thousands;
        const char* grouping;
        bool usable;
        s_number_punctuation expected;
    } cases[] = {
        {",", "\xA0", "3;0", true, {',', '\xA0', "\3"}},
        {".", ",", "3;2;0", true, {'.', ',', "\3\2"}},
        // No thousands separator: nothing is grouped.
        {",", "", "3;0", true, {',', ',', ""}},
        {"", ",", "3;0", false, {}},
        {"..", ",", "3;0", false, {}},
        {".", ",,", "3;0", false, {}},
        {".", ",", "3;", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.decimal) + "|" + c.thousands + "|" + c.grouping);
        s_number_punctuation got{'?', '?', "?"};
        ASSERT_EQ(punctuation_from_system_texts(c.decimal, c.thousands, c.grouping, &got), c.usable);
        if (c.usable) {
            EXPECT_EQ(got.decimal, c.expected.decimal);
            EXPECT_EQ(got.thousands, c.expected.thousands);
            EXPECT_EQ(got.grouping, c.expected.grouping);
        } else {
            EXPECT_EQ(got.decimal, '?');
        }
    }
}

TEST(SystemNumberPunctuation, SpacesWithoutAByteStandAsTheNoBreakSpace)
{
    for (std::uint32_t space : {0x202Fu, 0x2009u, 0x2000u, 0x200Au, 0x205Fu, 0x3000u}) {
        EXPECT_EQ(separator_stand_in(space), '\xA0') << std::hex << space;
    }
    for (std::uint32_t other : {0x20u, 0xA0u, 0x3Fu, 0x2Eu, 0x200Bu, 0x2030u, 0x1FFFu}) {
        EXPECT_EQ(separator_stand_in(other), '\0') << std::hex << other;
    }
}

}  // namespace
