// The test graph's ranges: automatic frequency and gain ranges over every
// test (and the combined response), centring on 0 dB, empty graphs, and the
// manual range entry with its messages and its order of check, limit, widen.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "graph/manual_range.h"
#include "graph/test_graph_ranges.h"
#include "support/recording_prompt.h"

namespace {

using points = std::vector<s_test_graph_point>;

s_test_graph_state state_with(const std::vector<points>& tests)
{
    s_test_graph_state state;
    for (const auto& p : tests) {
        auto plot = std::make_unique<s_test_plot>();
        plot->points = p;
        state.tests.push_back(std::move(plot));
    }
    return state;
}

TEST(graph_test_ranges, frequency_over_all_tests)
{
    struct frequency_case {
        std::string name;
        std::vector<points> tests;
        double min;
        double max;
    };
    const std::vector<frequency_case> cases = {
        {"two tests", {{{10, 0, 0}, {1e3, 0, 0}}, {{100, 0, 0}, {1e5, 0, 0}}}, 10, 1e5},
        {"a point at 0 Hz gives a minimum of 1", {{{0, 0, 0}, {1e3, 0, 0}}}, 1, 1e3},
        {"one frequency widens the maximum", {{{50, 0, 0}}, {{50, 0, 0}}}, 50, 60},
        {"the minimum starts at 1e9", {{{2e9, 0, 0}, {3e9, 0, 0}}}, 1e9, 3e9},
    };
    for (const auto& c : cases) {
        s_test_graph_state state = state_with(c.tests);
        EXPECT_EQ(autoscale_test_frequency(state), test_range_search::found) << c.name;
        EXPECT_DOUBLE_EQ(state.frequency_min, c.min) << c.name;
        EXPECT_DOUBLE_EQ(state.frequency_max, c.max) << c.name;
    }
}

TEST(graph_test_ranges, gain_in_whole_tens_within_the_frequency_range)
{
    struct gain_case {
        std::string name;
        std::vector<points> tests;
        points combined;  // present when not empty
        double min;
        double max;
    };
    const std::vector<gain_case> cases = {
        {"-3.2 to 11 dB", {{{10, -3.2, 0}, {100, 11, 0}}}, {}, -10, 20},
        {"whole tens stay", {{{10, -20, 0}}, {{100, 30, 0}}}, {}, -20, 30},
        {"flat gain widens both ends", {{{10, 5, 0}, {100, 5, 0}}}, {}, -10, 20},
        {"points outside the frequency range take no part", {{{1, -90, 0}, {10, -3, 0}, {1e3, 4, 0}, {1e5, 80, 0}}},
         {}, -10, 10},
        {"the combined response takes part", {{{10, -3, 0}, {1e3, 4, 0}}}, {{10, -42, 0}, {100, 0, 0}}, -50, 10},
        {"the minimum starts at 1000", {{{10, 1500, 0}, {100, 2000, 0}}}, {}, 1000, 2000},
        {"the maximum starts at -500", {{{10, -900, 0}, {100, -800, 0}}}, {}, -900, -500},
    };
    for (const auto& c : cases) {
        s_test_graph_state state = state_with(c.tests);
        state.frequency_min = 10;
        state.frequency_max = 1e3;
        state.combined.present = !c.combined.empty();
        state.combined.points = c.combined;
        EXPECT_EQ(autoscale_test_gain(state), test_range_search::found) << c.name;
        EXPECT_DOUBLE_EQ(state.gain_min, c.min) << c.name;
        EXPECT_DOUBLE_EQ(state.gain_max, c.max) << c.name;
    }
}

TEST(graph_test_ranges, a_combined_response_not_present_takes_no_part)
{
    s_test_graph_state state = state_with({{{10, -3, 0}, {100, 4, 0}}});
    state.frequency_min = 1;
    state.frequency_max = 1e3;
    state.combined.points = {{10, -95, 0}};
    autoscale_test_gain(state);
    EXPECT_DOUBLE_EQ(state.gain_min, -10);
}

// Without points the searches leave inverted ranges and say so.
TEST(graph_test_ranges, empty_graph_gives_flagged_inverted_ranges)
{
    for (const auto& tests : {std::vector<points>{}, std::vector<points>{{}, {}}}) {
        s_test_graph_state state = state_with(tests);
        EXPECT_EQ(autoscale_test_frequency(state), test_range_search::no_points);
        EXPECT_GT(state.frequency_min, state.frequency_max);
        EXPECT_EQ(autoscale_test_gain(state), test_range_search::no_points);
        EXPECT_GT(state.gain_min, state.gain_max);
    }
    // Points that all lie outside the frequency range count as none.
    s_test_graph_state state = state_with({{{10, 3, 0}}});
    state.frequency_min = 100;
    state.frequency_max = 200;
    EXPECT_EQ(autoscale_test_gain(state), test_range_search::no_points);
}

TEST(graph_test_ranges, centre_on_0_db_around_the_larger_end)
{
    struct centre_case {
        double min, max, centred_min, centred_max;
    };
    const std::vector<centre_case> cases = {
        {-10, 20, -20, 20},
        {-30, 20, -30, 30},
        {-20, 20, -20, 20},
        {10, 40, -40, 40},
        {-40, -10, -40, 40},
    };
    for (const auto& c : cases) {
        s_test_graph_state state;
        state.gain_min = c.min;
        state.gain_max = c.max;
        centre_test_gain(state);
        EXPECT_DOUBLE_EQ(state.gain_min, c.centred_min) << c.min << " " << c.max;
        EXPECT_DOUBLE_EQ(state.gain_max, c.centred_max) << c.min << " " << c.max;
    }
}

const std::string INVALID = "Invalid frequency values";
const std::string NOT_ABOVE = "The maximum frequency must be greater than the minimum frequency";

struct entry_case {
    std::string name;
    double min;
    double max;
    std::string message;  // empty: accepted
    double stored_min;
    double stored_max;
};

constexpr double KEPT_MIN = 7;
constexpr double KEPT_MAX = 8;

void check_entries(const std::vector<entry_case>& cases,
                   bool (*enter)(s_test_graph_state&, double, double, user_prompt&), double s_test_graph_state::*min,
                   double s_test_graph_state::*max)
{
    for (const auto& c : cases) {
        s_test_graph_state state;
        state.*min = KEPT_MIN;
        state.*max = KEPT_MAX;
        recording_prompt prompt;
        EXPECT_EQ(enter(state, c.min, c.max, prompt), c.message.empty()) << c.name;
        if (c.message.empty()) {
            EXPECT_TRUE(prompt.messages.empty()) << c.name;
            EXPECT_DOUBLE_EQ(state.*min, c.stored_min) << c.name;
            EXPECT_DOUBLE_EQ(state.*max, c.stored_max) << c.name;
            continue;
        }
        ASSERT_EQ(prompt.messages.size(), 1u) << c.name;
        EXPECT_EQ(prompt.messages[0].text, c.message) << c.name;
        EXPECT_EQ(prompt.messages[0].caption, "Corvexa2") << c.name;
        EXPECT_EQ(prompt.messages[0].icon, prompt_icon::information) << c.name;
        EXPECT_EQ(state.*min, KEPT_MIN) << c.name;
        EXPECT_EQ(state.*max, KEPT_MAX) << c.name;
    }
}

TEST(graph_test_ranges, manual_frequency_entry)
{
    const double NaN = std::nan("");
    check_entries(
        {
            {"accepted as typed", 10, 1e5, "", 10, 1e5},
            {"a minimum of 0", 0, 100, INVALID, 0, 0},
            {"a negative maximum", 10, -100, INVALID, 0, 0},
            {"NaN", NaN, 100, INVALID, 0, 0},
            {"maximum below the minimum", 100, 50, NOT_ABOVE, 0, 0},
            {"maximum equal to the minimum", 100, 100, NOT_ABOVE, 0, 0},
            {"maximum limited to 4e7", 10, 5e7, "", 10, 4e7},
            // Compared before the limit, then limited, then widened.
            {"both above 4e7", 5e7, 6e7, "", 4e7, 4e7 + 0.001},
            {"both above 4e7, reversed", 6e7, 5e7, NOT_ABOVE, 0, 0},
            {"narrow span widened", 100, 100.0005, "", 100, 100.001},
        },
        enter_test_frequency_range, &s_test_graph_state::frequency_min, &s_test_graph_state::frequency_max);
}

TEST(graph_test_ranges, manual_gain_entry)
{
    check_entries(
        {
            {"accepted as typed", -60, 20, "", -60, 20},
            {"negative ends", -90, -30, "", -90, -30},
            {"maximum below the minimum", 20, -10, NOT_ABOVE, 0, 0},
            {"maximum equal to the minimum", 5, 5, NOT_ABOVE, 0, 0},
            {"NaN", std::nan(""), 5, NOT_ABOVE, 0, 0},
            {"limited to -200..200", -300, 300, "", -200, 200},
            {"a tiny span is kept", 1, 1.0001, "", 1, 1.0001},
        },
        enter_test_gain_range, &s_test_graph_state::gain_min, &s_test_graph_state::gain_max);
}

TEST(graph_test_ranges, impedance_entry_limits)
{
    struct limit_case {
        manual_limit_kind kind;
        double value;
        bool accepted;
    };
    using k = manual_limit_kind;
    const std::vector<limit_case> cases = {
        {k::value_axis_linear, -1e9, true},      {k::value_axis_linear, 1e9, true},
        {k::value_axis_linear, -1.0000001e9, false}, {k::value_axis_linear, 0, true},
        {k::value_axis_log, 1e-6, true},         {k::value_axis_log, 0, false},
        {k::value_axis_log, 1e8, true},          {k::value_axis_log, 1.01e8, false},
        {k::horizontal_linear, -1e9, true},      {k::horizontal_linear, 1.1e9, false},
        {k::horizontal_log, 1e9, true},          {k::horizontal_log, 9.9e-7, false},
        {k::fixed_padding, 1, true},             {k::fixed_padding, 0, false},
        {k::fixed_padding, 1e9, true},           {k::percent_padding, 99, true},
        {k::percent_padding, 100, false},        {k::percent_padding, 0.5, false},
        {k::value_axis_linear, std::nan(""), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(within_manual_limit(c.kind, c.value), c.accepted)
            << static_cast<int>(c.kind) << " " << c.value;
    }
    for (int i = 0; i <= static_cast<int>(k::percent_padding); ++i) {
        EXPECT_EQ(static_cast<int>(manual_limit_of(static_cast<k>(i)).kind), i);
    }

    s_graph_settings g{};
    g.axis_scale[PLOT_A] = AXIS_LOG;
    g.axis_scale[PLOT_B] = AXIS_LINEAR;
    g.x_axis_scale = AXIS_LOG;
    EXPECT_EQ(plot_range_limit(g, PLOT_A), k::value_axis_log);
    EXPECT_EQ(plot_range_limit(g, PLOT_B), k::value_axis_linear);
    EXPECT_EQ(horizontal_range_limit(g), k::horizontal_log);
    g.x_axis_scale = AXIS_LINEAR;
    EXPECT_EQ(horizontal_range_limit(g), k::horizontal_linear);
    EXPECT_EQ(std::vector<int>(std::begin(PAD_PERCENT_PRESETS), std::end(PAD_PERCENT_PRESETS)),
              (std::vector<int>{5, 10, 20}));
}

}  // namespace
