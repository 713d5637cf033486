// The "Test Details" check: every refusal message in its order of checks,
// the values it accepts, and the limits it takes from the model in use.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "fra/sweep_settings_form.h"
#include "fra/sweep_settings_validate.h"

namespace {

using texts_change = std::function<void(s_sweep_settings_texts&)>;

constexpr int AK_WINDOW = 4;  // "Window" in the family A speed list

// Settings every check accepts on the family A model.
s_sweep_settings_texts good_texts()
{
    s_sweep_settings_texts t;
    t.sweep_type = SWEEP_SINGLE;
    t.tests_to_run = "3";
    t.interval_minutes = "5";
    t.steps = "100";
    t.start_frequency = "10";
    t.end_frequency = "1M";
    t.minimum_cycles = "1";
    t.speed_option = AK_WINDOW;
    t.window_time = "1";
    return t;
}

const s_sweep_limits& ak_limits()
{
    static const hvx_cfg_ak model;
    static const s_sweep_limits limits = sweep_limits_of(model);
    return limits;
}

std::vector<std::string> texts_of(const s_sweep_settings_verdict& verdict)
{
    std::vector<std::string> texts;
    for (const auto& m : verdict.messages) {
        texts.push_back(m.text);
    }
    return texts;
}

const std::string FEW = "Repeating tests must have more than one sweep";
const std::string MANY = "Repeating tests must have less than 99 sweeps";
const std::string TOTAL = "Invalid Total Test Time";
const std::string STEPS = "The sweep must be between 2 and 2000 steps";
const std::string START = "The start frequency must be between 10.000 uHz and 35.000 Mhz";
const std::string END = "The end frequency must be between 10.000 uHz and 35.000 Mhz";
const std::string CYCLES = "The minimum cycles must be between 1.0000  and 100.00 ";
const std::string SPEED_FRA = "The speed must be between 10.000 ms and 100.00 s";
const std::string SPEED_LCR = "The speec must be between 10.000 ms and 100.00 s";

void repeating(s_sweep_settings_texts& t) { t.sweep_type = SWEEP_REPEATING; }
void real_time(s_sweep_settings_texts& t) { t.sweep_type = SWEEP_REAL_TIME; }
void saving(s_sweep_settings_texts& t)
{
    t.save_to_database = true;
    t.session_number = 4;
    t.test_name = "T1";
    t.project_name = "P1";
}

struct refusal_case {
    const char* name;
    test_details_variant variant;
    texts_change change;
    std::vector<std::string> messages;
};

TEST(SweepSettingsCheck, RefusesWithTheMessagesOfTheFirstFailingCheck)
{
    const auto fra = test_details_variant::fra;
    const auto lcr = test_details_variant::lcr;
    const std::vector<refusal_case> cases = {
        // Sweep count and repeat fields.
        {"fra count 1", fra, [](auto& t) { repeating(t); t.tests_to_run = "1"; }, {FEW}},
        {"fra count empty", fra, [](auto& t) { repeating(t); t.tests_to_run = ""; }, {FEW}},
        {"fra count 100", fra, [](auto& t) { repeating(t); t.tests_to_run = "100"; }, {MANY}},
        {"fra count before interval", fra, [](auto& t) { repeating(t); t.tests_to_run = "1"; t.interval_minutes = ""; }, {FEW}},
        {"fra interval 0", fra, [](auto& t) { repeating(t); t.interval_minutes = "0"; }, {TOTAL}},
        {"fra hidden interval emptied", fra, [](auto& t) { t.interval_minutes = ""; }, {TOTAL}},
        {"fra hidden count not a number", fra, [](auto& t) { t.tests_to_run = "x"; }, {TOTAL}},
        {"fra negative interval", fra, [](auto& t) { repeating(t); t.interval_minutes = "-5"; }, {TOTAL}},
        {"lcr count 1", lcr, [](auto& t) { repeating(t); t.tests_to_run = "1"; }, {FEW, TOTAL}},
        {"lcr count 100", lcr, [](auto& t) { repeating(t); t.tests_to_run = "100"; }, {MANY, TOTAL}},
        {"lcr interval empty", lcr, [](auto& t) { repeating(t); t.interval_minutes = ""; }, {TOTAL}},
        {"lcr count 0", lcr, [](auto& t) { repeating(t); t.tests_to_run = "0"; }, {TOTAL}},
        // Sweep values, first failure wins.
        {"steps 2001", fra, [](auto& t) { t.steps = "2001"; }, {STEPS}},
        {"steps 1", lcr, [](auto& t) { t.steps = "1"; }, {STEPS}},
        {"steps before start", fra, [](auto& t) { t.steps = ""; t.start_frequency = "0"; }, {STEPS}},
        {"start 0", fra, [](auto& t) { t.start_frequency = "0"; }, {START}},
        {"start 36M", lcr, [](auto& t) { t.start_frequency = "36M"; }, {START}},
        {"start garbage", fra, [](auto& t) { t.start_frequency = "ten"; }, {START}},
        {"end 35.1M", fra, [](auto& t) { t.end_frequency = "35.1M"; }, {END}},
        {"cycles 0", fra, [](auto& t) { t.minimum_cycles = "0"; }, {CYCLES}},
        {"cycles 101", lcr, [](auto& t) { t.minimum_cycles = "101"; }, {CYCLES}},
        {"window 5m", fra, [](auto& t) { t.window_time = "5m"; }, {SPEED_FRA}},
        {"window 101", lcr, [](auto& t) { t.window_time = "101"; }, {SPEED_LCR}},
        // Database fields, FRA only.
        {"no session", fra, [](auto& t) { saving(t); t.session_number = 0; }, {"You need to select a Session"}},
        {"no test name", fra, [](auto& t) { saving(t); t.test_name = ""; t.project_name = ""; }, {"You need to enter a Test Name"}},
        {"no project", fra, [](auto& t) { saving(t); t.project_name = ""; }, {"You need to enter a Project Name"}},
    };
    for (const auto& c : cases) {
        s_sweep_settings_texts t = good_texts();
        c.change(t);
        const auto verdict = check_sweep_settings(c.variant, t, ak_limits());
        EXPECT_FALSE(verdict.accepted) << c.name;
        EXPECT_EQ(texts_of(verdict), c.messages) << c.name;
    }
}

TEST(SweepSettingsCheck, MessagesCarryTheirCaptionsAndIcons)
{
    struct caption_case {
        texts_change change;
        const char* caption;
        prompt_icon icon;
    };
    const std::vector<caption_case> cases = {
        {[](auto& t) { repeating(t); t.tests_to_run = "1"; }, "Error: Sweep count", prompt_icon::none},
        {[](auto& t) { t.interval_minutes = ""; }, "Error", prompt_icon::warning},
        {[](auto& t) { t.steps = "1"; }, "Invalid", prompt_icon::information},
        {[](auto& t) { saving(t); t.session_number = 0; }, "Corvexa2", prompt_icon::information},
    };
    for (const auto& c : cases) {
        s_sweep_settings_texts t = good_texts();
        c.change(t);
        const auto verdict = check_sweep_settings(test_details_variant::fra, t, ak_limits());
        ASSERT_EQ(verdict.messages.size(), 1u);
        EXPECT_EQ(verdict.messages[0].caption, c.caption);
        EXPECT_EQ(verdict.messages[0].icon, c.icon);
    }
}

TEST(SweepSettingsCheck, SettingsThatTheSweepDoesNotUseAreNotChecked)
{
    const std::vector<std::pair<test_details_variant, texts_change>> cases = {
        // A real-time sweep has no minimum cycles, speed or window time.
        {test_details_variant::fra, [](auto& t) { real_time(t); t.minimum_cycles = "0"; t.window_time = "0"; }},
        // The window time counts only while the speed shows "Window".
        {test_details_variant::fra, [](auto& t) { t.speed_option = 2; t.window_time = "0"; }},
        // The LCR variant reads the repeat fields only for a repeating series.
        {test_details_variant::lcr, [](auto& t) { t.tests_to_run = ""; t.interval_minutes = ""; }},
        // An LCR check never looks at the database fields.
        {test_details_variant::lcr, [](auto& t) { t.save_to_database = true; }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        s_sweep_settings_texts t = good_texts();
        cases[i].second(t);
        const auto verdict = check_sweep_settings(cases[i].first, t, ak_limits());
        EXPECT_TRUE(verdict.accepted) << "case " << i << ": " << ::testing::PrintToString(texts_of(verdict));
    }
}

TEST(SweepSettingsCheck, AcceptedValuesAreTheNumbersTyped)
{
    s_sweep_settings_texts t = good_texts();
    repeating(t);
    t.tests_to_run = "99";
    t.interval_minutes = "99999";  // x 60000 passes 2^31
    t.steps = "2000";
    t.start_frequency = "10k";
    t.end_frequency = "35M";
    t.minimum_cycles = "7.9";
    t.window_time = "500m";
    t.keep_output_on = true;
    saving(t);
    t.description = "first run";
    const auto verdict = check_sweep_settings(test_details_variant::fra, t, ak_limits());
    ASSERT_TRUE(verdict.accepted) << ::testing::PrintToString(texts_of(verdict));
    const auto& v = verdict.values;
    EXPECT_EQ(v.sweep_type, SWEEP_REPEATING);
    EXPECT_TRUE(v.repeat_values_read);
    EXPECT_EQ(v.repeat_count, 99);
    EXPECT_EQ(v.repeat_interval_ms, 5'999'940'000LL);
    EXPECT_EQ(v.steps, 2000);
    EXPECT_DOUBLE_EQ(v.start_frequency, 10000.0);
    EXPECT_DOUBLE_EQ(v.end_frequency, 35e6);
    EXPECT_EQ(v.minimum_cycles, 7);
    EXPECT_TRUE(v.window_time_set);
    EXPECT_DOUBLE_EQ(v.window_time, 0.5);
    EXPECT_TRUE(v.keep_output_on);
    EXPECT_TRUE(v.save_to_database);
    EXPECT_EQ(v.session_number, 4);
    EXPECT_EQ(v.description, "first run");

    // The LCR variant stores its repeat interval in milliseconds too.
    const auto lcr = check_sweep_settings(test_details_variant::lcr, t, ak_limits());
    ASSERT_TRUE(lcr.accepted);
    EXPECT_EQ(lcr.values.repeat_interval_ms, 5'999'940'000LL);
    EXPECT_FALSE(lcr.values.save_to_database);
}

TEST(SweepSettingsCheck, LimitsAndTheWindowOptionComeFromTheModelInUse)
{
    hvx_cfg_ak family_a;
    hvx_cfg_ck family_c;
    EXPECT_EQ(window_option_of(family_a), 4);
    EXPECT_EQ(window_option_of(family_c), 5);

    // Family C: 50 MHz is in range, and option 4 ("Very Fast") has no window
    // time to check while option 5 has.
    s_sweep_settings_texts t = good_texts();
    t.end_frequency = "50M";
    t.window_time = "0";
    EXPECT_TRUE(check_sweep_settings(test_details_variant::fra, t, sweep_limits_of(family_c)).accepted);
    t.speed_option = 5;
    EXPECT_EQ(texts_of(check_sweep_settings(test_details_variant::fra, t, sweep_limits_of(family_c))),
              std::vector<std::string>{SPEED_FRA});
    EXPECT_EQ(texts_of(check_sweep_settings(test_details_variant::fra, t, sweep_limits_of(family_a))),
              std::vector<std::string>{END});

    // A limit changed in the model after the dialog opened is the one checked.
    family_a.set_max(SWEEP_PARAM_STEPS, 500);
    t = good_texts();
    t.steps = "600";
    EXPECT_EQ(texts_of(check_sweep_settings(test_details_variant::fra, t, sweep_limits_of(family_a))),
              std::vector<std::string>{"The sweep must be between 2 and 500 steps"});
}

TEST(SweepSettingsForm, TotalTestTime)
{
    struct total_case {
        const char* tests;
        const char* interval;
        const char* text;
    };
    const total_case cases[] = {
        {"3", "5", "Total Test Time: 0 days, 00 hours, 10 minutes"},
        {"99", "99999", "Total Test Time: 6805 days, 11 hours, 42 minutes"},
        {"2", "1500", "Total Test Time: 1 days, 01 hours, 00 minutes"},
        {"", "5", "Total Test Time: Unknown"},
        {"1", "5", "Total Test Time: Unknown"},
        {"3", "0", "Total Test Time: Unknown"},
        {"3", "", "Total Test Time: Unknown"},
        {"3", "-5", "Total Test Time: Unknown"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(total_test_time_text(c.tests, c.interval), c.text) << c.tests << " x " << c.interval;
    }
}

TEST(SweepSettingsForm, VisibilityFollowsTypeSpeedAndChoices)
{
    s_sweep_settings_texts t = good_texts();
    auto shown = test_details_visibility(t, AK_WINDOW);
    EXPECT_FALSE(shown.repeat_section);
    EXPECT_FALSE(shown.after_sweep);
    EXPECT_TRUE(shown.cycles_and_speed);
    EXPECT_TRUE(shown.window_time);

    repeating(t);
    t.speed_option = 1;
    shown = test_details_visibility(t, AK_WINDOW);
    EXPECT_TRUE(shown.repeat_section);
    EXPECT_FALSE(shown.window_time);

    real_time(t);
    t.speed_option = AK_WINDOW;
    t.keep_output_on = true;
    t.save_to_database = true;
    shown = test_details_visibility(t, AK_WINDOW);
    EXPECT_FALSE(shown.repeat_section);
    EXPECT_TRUE(shown.after_sweep);
    EXPECT_TRUE(shown.set_start_enabled);
    EXPECT_FALSE(shown.cycles_and_speed);
    EXPECT_FALSE(shown.window_time);
    EXPECT_TRUE(shown.database_fields_enabled);
}

TEST(SweepSettingsForm, OpeningTextsComeFromTheModelWithFallbacks)
{
    hvx_cfg_ak model;
    s_sweep_request request;
    request.sweep_type = SWEEP_REAL_TIME;
    request.keep_output_on = true;
    model.set_value_int(SWEEP_PARAM_STEPS, 0);
    model.set_value_text(SWEEP_PARAM_START, "");
    model.set_value_text(SWEEP_PARAM_END, "");
    model.set_value_text(SWEEP_PARAM_MIN_CYCLES, "");
    model.set_value_text(SWEEP_PARAM_WINDOW_TIME, "");
    model.set_value_int(SWEEP_PARAM_SPEED, 3);

    auto t = sweep_settings_opening_texts(model, test_details_variant::fra, request);
    EXPECT_EQ(t.sweep_type, SWEEP_REAL_TIME);
    EXPECT_TRUE(t.keep_output_on);
    EXPECT_EQ(t.interval_minutes, "5");
    EXPECT_EQ(t.tests_to_run, "3");
    EXPECT_EQ(t.steps, "2000");
    EXPECT_EQ(t.start_frequency, "1.0000E1");
    EXPECT_EQ(t.end_frequency, "1.0000E6");
    EXPECT_EQ(t.minimum_cycles, "1");
    EXPECT_EQ(t.speed_option, 3);
    EXPECT_EQ(t.window_time, "1.0000E0");
    EXPECT_EQ(sweep_settings_opening_texts(model, test_details_variant::lcr, request).end_frequency, "2.0000E7");

    model.set_value_int(SWEEP_PARAM_STEPS, 250);
    model.set_value_text(SWEEP_PARAM_START, "2.5000E2");
    model.set_value_text(SWEEP_PARAM_MIN_CYCLES, "4");
    t = sweep_settings_opening_texts(model, test_details_variant::fra, request);
    EXPECT_EQ(t.steps, "250");
    EXPECT_EQ(t.start_frequency, "2.5000E2");
    EXPECT_EQ(t.minimum_cycles, "4");
}

}  // namespace
