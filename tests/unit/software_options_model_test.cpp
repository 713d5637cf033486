// The "Software Options" dialog's rules without its window: the opening
// choice, which choice enables the separator edits, the example, which typed
// separators are taken, and what "OK" and "Cancel" leave behind.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/number_format_settings.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/software_options_model.h"
#include "support/recording_prompt.h"
#include "support/scoped_number_format.h"
#include "support/scripted_number_conventions.h"
#include "support/temp_folder.h"

namespace {

std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

scripted_number_conventions bench_conventions()
{
    scripted_number_conventions conventions;
    conventions.given[number_convention::user_default] = {'.', '\'', "\3"};
    conventions.given[number_convention::uk_us] = {'.', ',', "\3"};
    conventions.given[number_convention::france] = {',', '\xA0', "\3"};
    conventions.given[number_convention::germany] = {',', '.', "\3"};
    return conventions;
}

class SoftwareOptionsModel : public ::testing::Test {
protected:
    scoped_number_format kept{{NUMBER_FORMAT_GERMANY, ',', '.'}};
    scripted_number_conventions conventions = bench_conventions();
    recording_prompt prompt;
    profile_store& store = portable_profile_store();
    temp_folder folder;
    std::string file = folder.file("Corvexa.ini");
};

TEST_F(SoftwareOptionsModel, OpensOnTheTypeHeldInMemory)
{
    const struct {
        int type;
        int choice;
        const char* name;
        const char* example;
    } cases[] = {
        {NUMBER_FORMAT_DEFAULT, 0, "Default", "123'456.789"},
        {NUMBER_FORMAT_UK_US, 1, "UK/US (forced)", "123,456.789"},
        {NUMBER_FORMAT_FRANCE, 2, "France (forced)", "123\xA0" "456,789"},
        {NUMBER_FORMAT_GERMANY, 3, "Germany (forced)", "123.456,789"},
        {NUMBER_FORMAT_CUSTOM, 4, "Custom", "123.456,789"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        set_number_format_type(c.type);
        const software_options_model model(conventions, prompt);
        EXPECT_EQ(model.choice(), c.choice);
        EXPECT_STREQ(number_format_choice_names[model.choice()], c.name);
        EXPECT_EQ(model.example(), c.example);
        EXPECT_EQ(model.separators_enabled(), c.type == NUMBER_FORMAT_CUSTOM);
        EXPECT_EQ(model.separator(separator_field::decimal), ',');
        EXPECT_EQ(model.separator(separator_field::thousands), '.');
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(SoftwareOptionsModel, OnlyCustomEnablesTheSeparators)
{
    software_options_model model(conventions, prompt);
    const struct {
        int choice;
        bool enabled;
        const char* example;
    } steps[] = {
        {4, true, "123.456,789"}, {1, false, "123,456.789"}, {4, true, "123.456,789"},
        {0, false, "123'456.789"}, {9, false, "123'456.789"},  // outside the list: the first entry
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.choice);
        model.choose(step.choice);
        EXPECT_EQ(model.separators_enabled(), step.enabled);
        EXPECT_EQ(model.example(), step.example);
    }
}

TEST_F(SoftwareOptionsModel, TypedSeparatorsAreTakenAtOnceUnlessRefused)
{
    software_options_model model(conventions, prompt);
    model.choose(4);
    const struct {
        separator_field field;
        const char* typed;
        bool restore;
        char decimal;
        char thousands;
        const char* example;
    } steps[] = {
        {separator_field::decimal, "x", true, ',', '.', "123.456,789"},
        {separator_field::decimal, "$", true, ',', '.', "123.456,789"},
        {separator_field::thousands, "7", true, ',', '.', "123.456,789"},
        {separator_field::thousands, "\t", true, ',', '.', "123.456,789"},
        {separator_field::decimal, "\xA3", true, ',', '.', "123.456,789"},
        {separator_field::thousands, " ", false, ',', ' ', "123 456,789"},
        {separator_field::decimal, ";", false, ';', ' ', "123 456;789"},
        // An emptied edit is no change: the separator in effect stays.
        {separator_field::decimal, "", false, ';', ' ', "123 456;789"},
        {separator_field::thousands, "", false, ';', ' ', "123 456;789"},
        {separator_field::thousands, "'", false, ';', '\'', "123'456;789"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.typed);
        const s_separator_edit outcome = model.edit_separator(step.field, step.typed);
        EXPECT_EQ(outcome.restore, step.restore);
        EXPECT_EQ(outcome.separator, step.field == separator_field::decimal ? step.decimal : step.thousands);
        EXPECT_EQ(decimal_separator(), step.decimal);
        EXPECT_EQ(thousands_separator(), step.thousands);
        EXPECT_EQ(model.example(), step.example);
    }
}

TEST_F(SoftwareOptionsModel, OkStoresTheChoiceAndBothSeparators)
{
    software_options_model model(conventions, prompt);
    model.choose(4);
    model.edit_separator(separator_field::decimal, ";");
    model.edit_separator(separator_field::thousands, "_");

    EXPECT_TRUE(model.accept(store, file));

    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_CUSTOM);
    EXPECT_EQ(read_bytes(file), "[Settings]\r\nNumFormatType=999\r\nNumFormatDecimal=;\r\nNumFormatThousand=_\r\n");

    model.choose(2);
    EXPECT_TRUE(model.accept(store, file));
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_FRANCE);
    EXPECT_EQ(read_bytes(file), "[Settings]\r\nNumFormatType=2\r\nNumFormatDecimal=;\r\nNumFormatThousand=_\r\n");

    // Without a settings file the choice holds in memory only.
    model.choose(1);
    EXPECT_FALSE(model.accept(store, ""));
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_UK_US);
}

TEST_F(SoftwareOptionsModel, LeavingWithoutOkKeepsTheTypeButNotTheOldSeparators)
{
    {
        software_options_model model(conventions, prompt);
        model.choose(4);
        model.edit_separator(separator_field::decimal, ".");
        model.choose(0);
    }
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_GERMANY);
    EXPECT_EQ(decimal_separator(), '.');
    EXPECT_EQ(read_bytes(file), "");
}

TEST_F(SoftwareOptionsModel, AConventionTheSystemCannotGiveIsToldInTheExample)
{
    conventions.given.erase(number_convention::france);
    software_options_model model(conventions, prompt);
    ASSERT_TRUE(prompt.messages.empty());

    model.choose(2);

    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unable to set locale to French_France, setting to default locale");
    EXPECT_EQ(prompt.messages[0].caption, "Locale Error");
    EXPECT_EQ(model.example(), "123'456.789");
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_DEFAULT);
    // "OK" still stores the list's choice.
    EXPECT_TRUE(model.accept(store, file));
    EXPECT_EQ(number_format_type(), NUMBER_FORMAT_FRANCE);
}

}  // namespace
