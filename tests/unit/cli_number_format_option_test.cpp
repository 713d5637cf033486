// The exporting commands' number format option, parsed in this process:
// what it takes out of the words, what it leaves to the stored format, and
// its usage messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/number_format_option.h"

namespace {

using words = std::vector<std::string>;

const s_number_format stored{NUMBER_FORMAT_FRANCE, ';', '_'};

TEST(CliNumberFormatOption, TakesTheFormatAndLeavesTheOtherWords)
{
    const struct {
        words given;
        s_number_format expected;
        words rest;
    } cases[] = {
        {{}, stored, {}},
        {{"--db", "a.db"}, stored, {"--db", "a.db"}},
        {{"--number-format", "default"}, {NUMBER_FORMAT_DEFAULT, ';', '_'}, {}},
        {{"--number-format", "uk", "--db", "a.db"}, {NUMBER_FORMAT_UK_US, ';', '_'}, {"--db", "a.db"}},
        {{"--test", "3", "--number-format", "germany"}, {NUMBER_FORMAT_GERMANY, ';', '_'}, {"--test", "3"}},
        {{"--number-format", "france"}, {NUMBER_FORMAT_FRANCE, ';', '_'}, {}},
        // Custom takes the stored separators unless given.
        {{"--number-format", "custom"}, {NUMBER_FORMAT_CUSTOM, ';', '_'}, {}},
        {{"--number-format", "custom", "--decimal", ","}, {NUMBER_FORMAT_CUSTOM, ',', '_'}, {}},
        {{"--thousands", "'", "x", "--number-format", "custom", "--decimal", "."},
         {NUMBER_FORMAT_CUSTOM, '.', '\''},
         {"x"}},
        {{"--number-format", "custom", "--thousands", " "}, {NUMBER_FORMAT_CUSTOM, ';', ' '}, {}},
        {{"--number-format", "custom", "--thousands", "\xA0"}, {NUMBER_FORMAT_CUSTOM, ';', '\xA0'}, {}},
    };
    for (const auto& c : cases) {
        std::string trace;
        for (const std::string& word : c.given) {
            trace += word + " ";
        }
        SCOPED_TRACE(trace);
        words given = c.given;
        s_number_format format = stored;
        std::string error;
        ASSERT_TRUE(take_number_format_option(&given, &format, &error)) << error;
        EXPECT_EQ(format.type, c.expected.type);
        EXPECT_EQ(format.decimal, c.expected.decimal);
        EXPECT_EQ(format.thousands, c.expected.thousands);
        EXPECT_EQ(given, c.rest);
    }
}

TEST(CliNumberFormatOption, MalformedOptionsAreUsageErrorsThatChangeNothing)
{
    const std::string separator_rule =
        " takes one character that is not a letter, a digit, a control character or one of + - * \\ / \" ` $ \xA3: ";
    const struct {
        words given;
        std::string message;
    } cases[] = {
        {{"--number-format"}, "--number-format needs a value"},
        {{"--number-format", ""}, "--number-format needs a value"},
        {{"--number-format", "swiss"}, "--number-format takes default, uk, france, germany or custom: swiss"},
        {{"--number-format", "UK"}, "--number-format takes default, uk, france, germany or custom: UK"},
        {{"--number-format", "uk", "--number-format", "uk"}, "--number-format is given twice"},
        {{"--number-format", "custom", "--decimal", ",", "--decimal", "."}, "--decimal is given twice"},
        {{"--number-format", "custom", "--decimal"}, "--decimal needs a value"},
        {{"--number-format", "custom", "--decimal", ",,"}, "--decimal" + separator_rule + "\",,\""},
        {{"--number-format", "custom", "--decimal", "$"}, "--decimal" + separator_rule + "\"$\""},
        {{"--number-format", "custom", "--thousands", "7"}, "--thousands" + separator_rule + "\"7\""},
        {{"--number-format", "custom", "--thousands", "\t"}, "--thousands" + separator_rule + "\"\t\""},
        {{"--number-format", "uk", "--decimal", ","}, "--decimal and --thousands go with --number-format custom"},
        {{"--thousands", "."}, "--decimal and --thousands go with --number-format custom"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        words given = c.given;
        s_number_format format = stored;
        std::string error;
        EXPECT_FALSE(take_number_format_option(&given, &format, &error));
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(given, c.given);
        EXPECT_EQ(format.type, stored.type);
        EXPECT_EQ(format.decimal, stored.decimal);
        EXPECT_EQ(format.thousands, stored.thousands);
    }
}

}  // namespace
