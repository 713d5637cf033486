// The conventions from the system's locale information (GetLocaleInfoA):
// the three fixed locales, and the user's default, which under Wine the
// LC_ALL variable chooses (for example LC_ALL=de_DE.UTF-8).
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>

#include "app/number_conventions.h"
#include "app/number_format_locale.h"
#include "app/number_format_settings.h"
#include "support/recording_prompt.h"
#include "support/scoped_number_format.h"

namespace {

struct s_expected {
    char decimal;
    char thousands;
};

constexpr s_expected uk_us{'.', ','};
constexpr s_expected france{',', '\xA0'};
constexpr s_expected germany{',', '.'};

void expect_punctuation(number_convention convention, const s_expected& expected)
{
    s_number_punctuation got;
    ASSERT_TRUE(platform_number_conventions().punctuation(convention, &got));
    EXPECT_EQ(got.decimal, expected.decimal);
    EXPECT_EQ(got.thousands, expected.thousands);
    EXPECT_EQ(got.grouping, "\3");
}

std::string grouped(int type, user_prompt& prompt)
{
    std::ostringstream text;
    apply_number_format(text, type, prompt);
    text.setf(std::ios::fixed, std::ios::floatfield);
    text.precision(1);
    text << 1234567.5;
    return text.str();
}

TEST(NumberConventionsWin32, FixedLocalesGiveTheirSeparators)
{
    expect_punctuation(number_convention::uk_us, uk_us);
    expect_punctuation(number_convention::france, france);
    expect_punctuation(number_convention::germany, germany);

    scoped_number_format kept;
    recording_prompt prompt;
    EXPECT_EQ(grouped(NUMBER_FORMAT_UK_US, prompt), "1,234,567.5");
    EXPECT_EQ(grouped(NUMBER_FORMAT_FRANCE, prompt), "1\xA0" "234\xA0" "567,5");
    EXPECT_EQ(grouped(NUMBER_FORMAT_GERMANY, prompt), "1.234.567,5");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(NumberConventionsWin32, TheDefaultIsTheUsersLocale)
{
    const struct {
        LCID locale;
        s_expected expected;
    } known[] = {{0x0409, uk_us}, {0x0809, uk_us}, {0x040C, france}, {0x0407, germany}};
    const LCID user = GetUserDefaultLCID();
    for (const auto& row : known) {
        if (row.locale == user) {
            expect_punctuation(number_convention::user_default, row.expected);
            return;
        }
    }
    GTEST_SKIP() << "user locale " << std::hex << user << " is not one of the four this test knows";
}

}  // namespace
