// The configuration model's local operations: how each kind of record reads
// and writes as text, integer and number, the display texts, the changed
// flag, and ids outside the two banks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "config/instrument_config.h"

namespace {

// A choice with options, a plain integer, two reals and untouched records,
// in both banks.
constexpr int CHOICE = 3;
constexpr int PLAIN = 18;
constexpr int REAL = 48;
constexpr int REAL_SECOND_BANK = 755;
constexpr int UNDEFINED = 10;

class small_model : public instrument_config {
public:
    small_model()
    {
        define_choice_param(record(CHOICE), CHOICE, 0, 5, 1, {"Off", "On", "Twenty-character opt"});
        define_choice_param(record(PLAIN), PLAIN, 2, 2000, 0, {});
        define_real_param(record(REAL), REAL, 0.00001, 50000000, "1.0000E3");
        define_real_param(record(REAL_SECOND_BANK), REAL_SECOND_BANK, -99.0, -99.0, nullptr);
    }
};

std::string value_text(const instrument_config& model, int id)
{
    char buffer[CONFIG_VALUE_SIZE + 8];
    std::memset(buffer, 'x', sizeof buffer);
    model.get_value_text(id, buffer);
    return buffer;
}

std::string display_text(const instrument_config& model, int id)
{
    char buffer[19 + 8];
    std::memset(buffer, 'x', sizeof buffer);
    model.get_display_text(id, buffer);
    EXPECT_EQ(buffer[19], 'x') << "display text wrote past its 19 bytes";
    return buffer;
}

TEST(ConfigModelValues, EveryReadingOfEveryKind)
{
    struct read_case {
        int id;
        int choice_value;  // set on CHOICE / PLAIN first (ignored otherwise)
        const char* text;  // set on a real first (nullptr: keep the default)
        const char* value_string;
        const char* display;
        const char* display_text;
        int as_int;
        double as_double;
    };
    const read_case cases[] = {
        {CHOICE, 1, nullptr, "1", "On", "On", 1, 1.0},
        {CHOICE, 2, nullptr, "2", "Twenty-character opt", "Twenty-character o", 2, 2.0},
        {CHOICE, 3, nullptr, "3", "", "", 3, 3.0},       // beyond the option list
        {CHOICE, -1, nullptr, "-1", "", "", -1, -1.0},   // negative index
        {PLAIN, 250, nullptr, "250", "250", "", 250, 250.0},
        {REAL, 0, nullptr, "1.0000E3", "1.0000E3", "1.0000E3", 1, 1000.0},
        {REAL, 0, "-2.5000E-3", "-2.5000E-3", "-2.5000E-3", "-2.5000E-3", -2, -0.0025},
        {REAL, 0, "abc", "abc", "abc", "abc", 0, 0.0},
        {REAL, 0, "1234567890123456789", "1234567890123456789", "1234567890123456789", "123456789012345678",
         std::numeric_limits<int>::max(), 1234567890123456789.0},
        {REAL_SECOND_BANK, 0, nullptr, "", "", "", 0, 0.0},
        // Undefined records and invalid ids hold the "not set" marker, whose
        // bytes never show as text.
        {UNDEFINED, 0, nullptr, "", "", "", -99, -99.0},
        {256, 0, nullptr, "", "", "", -99, -99.0},
        {-1, 0, nullptr, "", "", "", -99, -99.0},
        {499, 0, nullptr, "", "", "", -99, -99.0},
        {756, 0, nullptr, "", "", "", -99, -99.0},
    };
    for (const read_case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id) + " value " + std::to_string(c.choice_value));
        small_model model;
        if (c.id == CHOICE || c.id == PLAIN) {
            model.set_value_int(c.id, c.choice_value);
        }
        if (c.text) {
            model.set_value_text(c.id, c.text);
        }
        EXPECT_EQ(model.get_value_string(c.id), c.value_string);
        EXPECT_EQ(value_text(model, c.id), c.value_string);
        EXPECT_EQ(model.get_display_string(c.id), c.display);
        EXPECT_EQ(display_text(model, c.id), c.display_text);
        EXPECT_EQ(model.get_value_int(c.id), c.as_int);
        EXPECT_DOUBLE_EQ(model.get_value_double(c.id), c.as_double);
    }
}

TEST(ConfigModelValues, SettersConvertToTheRecordsKind)
{
    struct set_case {
        const char* what;
        int id;
        void (*set)(instrument_config&, int);
        const char* expected;  // get_value_string afterwards
    };
    const set_case cases[] = {
        {"double 2.9 truncates", CHOICE, [](instrument_config& m, int id) { m.set_value_double(id, 2.9); }, "2"},
        {"double -2.9 toward zero", CHOICE, [](instrument_config& m, int id) { m.set_value_double(id, -2.9); },
         "-2"},
        {"double too large", CHOICE, [](instrument_config& m, int id) { m.set_value_double(id, 1e300); },
         "2147483647"},
        {"double NaN", CHOICE,
         [](instrument_config& m, int id) { m.set_value_double(id, std::numeric_limits<double>::quiet_NaN()); },
         "0"},
        {"text as atoi", CHOICE, [](instrument_config& m, int id) { m.set_value_text(id, " -12abc"); }, "-12"},
        {"text without digits", CHOICE, [](instrument_config& m, int id) { m.set_value_text(id, "abc"); }, "0"},
        {"text too long for int", CHOICE,
         [](instrument_config& m, int id) { m.set_value_text(id, "99999999999999999999"); }, "2147483647"},
        {"null text", CHOICE, [](instrument_config& m, int id) { m.set_value_text(id, nullptr); }, "0"},
        {"double 2.9 as text", REAL, [](instrument_config& m, int id) { m.set_value_double(id, 2.9); },
         "2.9000E0"},
        {"double 1000", REAL, [](instrument_config& m, int id) { m.set_value_double(id, 1000); }, "1.0000E3"},
        {"double 0.001", REAL, [](instrument_config& m, int id) { m.set_value_double(id, 0.001); },
         "1.0000E-3"},
        {"double 0", REAL, [](instrument_config& m, int id) { m.set_value_double(id, 0); }, "0.0000E0"},
        {"int as text", REAL, [](instrument_config& m, int id) { m.set_value_int(id, -42); }, "-42"},
        {"text cut to 19", REAL,
         [](instrument_config& m, int id) { m.set_value_text(id, "123456789012345678901234"); },
         "1234567890123456789"},
        {"text into an undefined record", UNDEFINED,
         [](instrument_config& m, int id) { m.set_value_text(id, "hello"); }, "hello"},
    };
    for (const set_case& c : cases) {
        SCOPED_TRACE(c.what);
        small_model model;
        c.set(model, c.id);
        EXPECT_EQ(model.get_value_string(c.id), c.expected);
        EXPECT_TRUE(model.record(c.id)->changed);
    }
}

TEST(ConfigModelValues, SnapshotsCarryValueAndLimitsByKind)
{
    small_model model;
    const s_config_value choice = model.get_value(CHOICE);
    EXPECT_TRUE(choice.is_choice);
    EXPECT_EQ(config_int_of(choice.value), 1);
    EXPECT_EQ(choice.min, 0.0);
    EXPECT_EQ(choice.max, 5.0);

    const s_config_value real = model.get_value(REAL);
    EXPECT_FALSE(real.is_choice);
    EXPECT_STREQ(real.value, "1.0000E3");

    const s_config_value undefined = model.get_value(UNDEFINED);
    EXPECT_FALSE(undefined.is_choice);
    EXPECT_EQ(config_int_of(undefined.value), CONFIG_NOT_SET);
    EXPECT_EQ(undefined.min, CONFIG_NO_LIMIT);
    EXPECT_EQ(config_int_of(model.get_value(600).value), CONFIG_NOT_SET);

    // A snapshot goes back by the target's kind; an undefined record keeps
    // its value but is marked changed.
    s_config_value other;
    config_set_int(other.value, 4);
    model.set_value(CHOICE, other);
    EXPECT_EQ(model.get_value_int(CHOICE), 4);
    s_config_value text;
    std::memset(text.value, 'z', sizeof text.value);  // no terminator
    model.set_value(REAL, text);
    EXPECT_EQ(model.get_value_string(REAL), std::string(19, 'z'));
    model.set_value(UNDEFINED, real);
    EXPECT_TRUE(config_value_not_set(*model.record(UNDEFINED)));
    EXPECT_TRUE(model.record(UNDEFINED)->changed);
    model.set_value(-5, real);  // ignored
}

TEST(ConfigModelValues, ChangedFlagFollowsValuesNotLimitsOrDefinitions)
{
    small_model model;
    EXPECT_FALSE(model.record(CHOICE)->changed);
    model.set_min(CHOICE, 1);
    model.set_max(CHOICE, 3);
    model.set_options(CHOICE, {"A"});
    EXPECT_FALSE(model.record(CHOICE)->changed);
    EXPECT_EQ(model.record(CHOICE)->min, 1.0);
    EXPECT_EQ(model.record(CHOICE)->max, 3.0);
    EXPECT_EQ(model.get_display_string(CHOICE), "");  // value 1 is past the new list

    model.set_value_int(CHOICE, 0);
    EXPECT_TRUE(model.record(CHOICE)->changed);
    model.define_choice_param(model.record(CHOICE), CHOICE, 0, 1, 0, {"x"});
    EXPECT_TRUE(model.record(CHOICE)->changed);
}

TEST(ConfigModelValues, BanksStartNotSetAndCommandNumbersFollowTheId)
{
    instrument_config bare;
    for (int id : {0, 1, 255, 500, 755}) {
        const s_config_param* r = bare.record(id);
        ASSERT_NE(r, nullptr) << id;
        EXPECT_EQ(r->kind, CONFIG_KIND_UNDEFINED);
        EXPECT_EQ(r->command_number, 0);
        EXPECT_EQ(r->min, CONFIG_NO_LIMIT);
        EXPECT_EQ(r->max, CONFIG_NO_LIMIT);
        EXPECT_EQ(config_int_of(r->value), CONFIG_NOT_SET);
        EXPECT_FALSE(r->changed);
        EXPECT_TRUE(r->options.empty());
    }
    for (int id : {-1, 256, 499, 756, 100000}) {
        EXPECT_EQ(bare.record(id), nullptr) << id;
        bare.set_value_int(id, 1);
        bare.set_value_text(id, "1");
        bare.set_value_double(id, 1);
        bare.set_min(id, 1);
        bare.set_max(id, 1);
        bare.set_options(id, {"x"});
        bare.get_value_text(id, nullptr);
        bare.get_display_text(id, nullptr);
    }
    EXPECT_EQ(bare.record(0)->min, CONFIG_NO_LIMIT);
    EXPECT_EQ(bare.record(255)->min, CONFIG_NO_LIMIT);
    EXPECT_EQ(bare.record(500)->min, CONFIG_NO_LIMIT);

    small_model model;
    EXPECT_EQ(model.record(REAL)->command_number, REAL);
    EXPECT_EQ(model.record(REAL_SECOND_BANK)->command_number, 255);
    EXPECT_EQ(model.record(REAL_SECOND_BANK), model.record(755));
    EXPECT_NE(model.record(255), model.record(755));
}

TEST(ConfigModelValues, LeadingNumbersReadAsAtoiAndAtof)
{
    struct number_case {
        const char* text;
        int as_int;
        double as_double;
    };
    const number_case cases[] = {
        {"1.0000E3", 1, 1000.0},   {"  +7x", 7, 7.0},      {"-0.5", 0, -0.5},
        {"", 0, 0.0},              {"E3", 0, 0.0},         {"-99999999999", std::numeric_limits<int>::min(), -99999999999.0},
        {"2147483648", std::numeric_limits<int>::max(), 2147483648.0},
    };
    for (const number_case& c : cases) {
        EXPECT_EQ(config_leading_int(c.text), c.as_int) << c.text;
        EXPECT_DOUBLE_EQ(config_leading_double(c.text), c.as_double) << c.text;
    }
    EXPECT_EQ(config_leading_int(nullptr), 0);
    EXPECT_EQ(config_leading_double(nullptr), 0.0);
}

}  // namespace
