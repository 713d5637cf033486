// The locales exported numbers are written with: each type's punctuation from
// injected conventions, the custom separators read at every call, the
// failure message and its fallback, and the program's global locales left
// alone.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <sstream>
#include <string>

#include "app/number_conventions.h"
#include "app/number_format_locale.h"
#include "app/number_format_settings.h"
#include "app/settings.h"
#include "support/recording_prompt.h"
#include "support/scoped_number_format.h"
#include "support/scripted_number_conventions.h"

namespace {

// Conventions unlike the table's, so a type that takes the wrong one shows.
scripted_number_conventions bench_conventions()
{
    scripted_number_conventions conventions;
    conventions.given[number_convention::user_default] = {'.', '\'', "\3"};
    conventions.given[number_convention::uk_us] = {'.', ',', "\3"};
    conventions.given[number_convention::france] = {',', '\xA0', "\3"};
    conventions.given[number_convention::germany] = {',', '.', "\3"};
    return conventions;
}

// 1234567.5 in fixed notation with one decimal, as an integer, and as the
// exports write it (scientific, precision 5).
struct s_written {
    std::string fixed;
    std::string integer;
    std::string scientific;
};

s_written written_with(const std::locale& locale)
{
    std::ostringstream fixed;
    fixed.imbue(locale);
    fixed.setf(std::ios::fixed, std::ios::floatfield);
    fixed.precision(1);
    fixed << 1234567.5;
    std::ostringstream integer;
    integer.imbue(locale);
    integer << 1234567;
    std::ostringstream scientific;
    scientific.imbue(locale);
    scientific.setf(std::ios::scientific, std::ios::floatfield);
    scientific.precision(5);
    scientific << 1234567.5;
    return {fixed.str(), integer.str(), scientific.str()};
}

class NumberFormatLocale : public ::testing::Test {
protected:
    scoped_number_format kept{{NUMBER_FORMAT_CUSTOM, ';', '_'}};
    scripted_number_conventions conventions = bench_conventions();
    recording_prompt prompt;
};

TEST_F(NumberFormatLocale, EachTypeGroupsWithItsOwnPunctuation)
{
    const struct {
        int type;
        s_written expected;
    } cases[] = {
        {NUMBER_FORMAT_DEFAULT, {"1'234'567.5", "1'234'567", "1.23457e+06"}},
        {NUMBER_FORMAT_UK_US, {"1,234,567.5", "1,234,567", "1.23457e+06"}},
        {NUMBER_FORMAT_FRANCE, {"1\xA0" "234\xA0" "567,5", "1\xA0" "234\xA0" "567", "1,23457e+06"}},
        {NUMBER_FORMAT_GERMANY, {"1.234.567,5", "1.234.567", "1,23457e+06"}},
        {NUMBER_FORMAT_CUSTOM, {"1_234_567;5", "1_234_567", "1;23457e+06"}},
        // A type the program does not know is the default.
        {7, {"1'234'567.5", "1'234'567", "1.23457e+06"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        const s_written got = written_with(number_format_locale(c.type, conventions, prompt));
        EXPECT_EQ(got.fixed, c.expected.fixed);
        EXPECT_EQ(got.integer, c.expected.integer);
        EXPECT_EQ(got.scientific, c.expected.scientific);
    }
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_CUSTOM);
}

TEST_F(NumberFormatLocale, ConventionsMayGroupOtherwise)
{
    const struct {
        const char* grouping;
        const char* expected;
    } cases[] = {
        {"", "1234567.5"},
        {"\3\2", "12,34,567.5"},
        {"\3\x7F", "1234,567.5"},  // one group, then no more
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        conventions.given[number_convention::uk_us] = {'.', ',', c.grouping};
        EXPECT_EQ(written_with(number_format_locale(NUMBER_FORMAT_UK_US, conventions, prompt)).fixed, c.expected);
    }
}

TEST_F(NumberFormatLocale, CustomSeparatorsAreReadAtEveryCall)
{
    const zvr_custom_locale& facet = custom_number_punctuation();
    EXPECT_EQ(facet.grouping(), "\3");
    const struct {
        char decimal;
        char thousands;
        const char* expected;
    } cases[] = {{',', '.', "123.456,789"}, {'.', ',', "123,456.789"}, {'.', '\'', "123'456.789"}};
    for (const auto& c : cases) {
        set_decimal_separator(c.decimal);
        set_thousands_separator(c.thousands);
        EXPECT_EQ(facet.decimal_point(), c.decimal);
        EXPECT_EQ(facet.thousands_sep(), c.thousands);
        std::ostringstream text;
        apply_number_format(text, NUMBER_FORMAT_CUSTOM, conventions, prompt);
        text.setf(std::ios::fixed, std::ios::floatfield);
        text.precision(3);
        text << 123456.789;
        EXPECT_EQ(text.str(), c.expected);
    }
}

TEST_F(NumberFormatLocale, CustomLocalesShareTheOneFacetAndNeverDeleteIt)
{
    for (int round = 0; round < 3; ++round) {
        const std::locale locale = number_format_locale(NUMBER_FORMAT_CUSTOM, conventions, prompt);
        EXPECT_EQ(&std::use_facet<std::numpunct<char>>(locale), &custom_number_punctuation());
    }
    // Every locale that held it is gone; the facet still answers.
    EXPECT_EQ(custom_number_punctuation().decimal_point(), ';');
}

TEST_F(NumberFormatLocale, AConventionTheSystemCannotGiveFallsBackToTheDefault)
{
    const struct {
        int type;
        number_convention missing;
        const char* name;
    } cases[] = {
        {NUMBER_FORMAT_UK_US, number_convention::uk_us, "English_UK"},
        {NUMBER_FORMAT_FRANCE, number_convention::france, "French_France"},
        {NUMBER_FORMAT_GERMANY, number_convention::germany, "German_germany"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        scripted_number_conventions broken = bench_conventions();
        broken.given.erase(c.missing);
        recording_prompt told;
        set_number_format_type(c.type);

        const std::locale locale = number_format_locale(c.type, broken, told);

        EXPECT_EQ(written_with(locale).fixed, "1'234'567.5");
        ASSERT_EQ(told.messages.size(), 1u);
        EXPECT_EQ(told.messages[0].text,
                  std::string("Unable to set locale to ") + c.name + ", setting to default locale");
        EXPECT_EQ(told.messages[0].caption, "Locale Error");
        EXPECT_EQ(number_format_type(), NUMBER_FORMAT_DEFAULT);
    }
}

TEST_F(NumberFormatLocale, WithoutEvenTheDefaultNumbersAreWrittenPlain)
{
    for (int type : {NUMBER_FORMAT_DEFAULT, NUMBER_FORMAT_GERMANY}) {
        SCOPED_TRACE(type);
        scripted_number_conventions none;
        recording_prompt told;
        EXPECT_EQ(written_with(number_format_locale(type, none, told)).fixed, "1234567.5");
        EXPECT_EQ(told.messages.size(), 1u);
    }
}

TEST_F(NumberFormatLocale, TheProgramsGlobalLocalesStayClassic)
{
    for (int type : {NUMBER_FORMAT_DEFAULT, NUMBER_FORMAT_FRANCE, NUMBER_FORMAT_GERMANY, NUMBER_FORMAT_CUSTOM}) {
        std::ostringstream text;
        apply_number_format(text, type, prompt);
    }
    EXPECT_EQ(std::use_facet<std::numpunct<char>>(std::locale()).decimal_point(), '.');
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    char printed[16];
    std::snprintf(printed, sizeof printed, "%.1f", 0.5);
    EXPECT_STREQ(printed, "0.5");
    EXPECT_EQ(std::atof("0.25"), 0.25);
}

TEST(NumberConventionsTable, GivesTheExampleOfEachFixedConvention)
{
    const struct {
        int type;
        const char* expected;
    } cases[] = {
        {NUMBER_FORMAT_DEFAULT, "123,456.789"},
        {NUMBER_FORMAT_UK_US, "123,456.789"},
        {NUMBER_FORMAT_FRANCE, "123\xA0" "456,789"},
        {NUMBER_FORMAT_GERMANY, "123.456,789"},
    };
    recording_prompt prompt;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        std::ostringstream text;
        apply_number_format(text, c.type, table_number_conventions(), prompt);
        text.setf(std::ios::fixed, std::ios::floatfield);
        text.precision(3);
        text << 123456.789;
        EXPECT_EQ(text.str(), c.expected);
    }
    EXPECT_TRUE(prompt.messages.empty());
}

}  // namespace
