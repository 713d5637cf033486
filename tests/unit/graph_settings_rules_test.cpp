// Rules on the graph settings: the check of manual logarithmic ranges, what
// a change of scale does to an axis, and the test graph's background choice.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "graph/graph_scale_change.h"
#include "graph/log_range_check.h"
#include "graph/test_graph_background.h"
#include "support/graph_settings_compare.h"
#include "support/recording_prompt.h"

namespace {

// Every axis logarithmic with a manual range well inside the limits.
s_graph_settings log_manual_record()
{
    s_graph_settings r{};
    r.x_axis_scale = AXIS_LOG;
    r.x_range = RANGE_MANUAL;
    r.x_min = 1;
    r.x_max = 1e6;
    for (int p = 0; p < GRAPH_PLOTS; ++p) {
        r.axis_scale[p] = AXIS_LOG;
        r.range[p] = RANGE_MANUAL;
        r.min[p] = 1e-3;
        r.max[p] = 1e3;
    }
    return r;
}

enum class end { min, max };

double& axis_end(s_graph_settings& r, int axis, end e)
{
    if (axis < 0) {
        return e == end::min ? r.x_min : r.x_max;
    }
    return e == end::min ? r.min[axis] : r.max[axis];
}

TEST(LogRangeCheck, EachBrokenLimitGivesItsMessage)
{
    const int x = -1;
    const struct {
        int axis;
        end which;
        double value;
        const char* message;
    } cases[] = {
        {x, end::min, 9.99e-7, "The X-axis' Min Range cannot be lower than 1.000u while using LOG scaling"},
        {x, end::max, 0, "The X-axis' Max Range cannot be lower than 1.000u while using LOG scaling"},
        {x, end::min, 1.01e8, "The X-axis' Min Range cannot be higher than 100.000M while using LOG scaling"},
        {x, end::max, 1e9, "The X-axis' Max Axis Range cannot be higher than 100.000M while using LOG scaling"},
        {PLOT_A, end::min, -40, "The Left Y-axis' Min Range cannot be lower than 1.000u while using LOG scaling"},
        {PLOT_A, end::max, 1e-7, "The Left Y-axis' Max Range cannot be lower than 1.000u while using LOG scaling"},
        {PLOT_A, end::min, 2e8, "The Left Y-axis' Min Range cannot be higher than 100.000M while using LOG scaling"},
        {PLOT_A, end::max, 2e8, "The Left Y-axis' Max Range cannot be higher than 100.000M while using LOG scaling"},
        {PLOT_B, end::min, 0, "The Right Y-axis' Min Range cannot be lower than 1.000u while using LOG scaling"},
        {PLOT_B, end::max, -1, "The Right Y-axis' Max Range cannot be lower than 1.000u while using LOG scaling"},
        {PLOT_B, end::min, 1e10, "The Right Y-axis' Min Range cannot be higher than 100.000M while using LOG scaling"},
        {PLOT_B, end::max, INFINITY, "The Right Y-axis' Max Range cannot be higher than 100.000M while using LOG scaling"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        s_graph_settings r = log_manual_record();
        axis_end(r, c.axis, c.which) = c.value;
        recording_prompt prompt;
        EXPECT_FALSE(validate_log_ranges(r, prompt));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, c.message);
        EXPECT_EQ(prompt.messages[0].caption, "Out of Range");
        EXPECT_EQ(prompt.messages[0].icon, prompt_icon::none);
    }
}

TEST(LogRangeCheck, OnlyTheFirstProblemInAxisOrderIsShown)
{
    s_graph_settings r = log_manual_record();
    r.max[PLOT_B] = 0;
    r.min[PLOT_A] = 1e9;  // upper limit of plot A ...
    r.max[PLOT_A] = 0;    // ... comes after its lower limit on the maximum
    recording_prompt prompt;
    EXPECT_FALSE(validate_log_ranges(r, prompt));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              "The Left Y-axis' Max Range cannot be lower than 1.000u while using LOG scaling");
}

TEST(LogRangeCheck, LinearAxesAndAutomaticRangesPassAnyValue)
{
    s_graph_settings r = log_manual_record();
    r.x_axis_scale = AXIS_LINEAR;
    r.x_min = -1e9;
    r.range[PLOT_A] = RANGE_AUTO;
    r.min[PLOT_A] = -5;
    r.range[PLOT_B] = RANGE_CENTRE_0;
    r.max[PLOT_B] = 1e12;
    recording_prompt prompt;
    EXPECT_TRUE(validate_log_ranges(r, prompt));
    EXPECT_TRUE(prompt.messages.empty());
    // The limits themselves are accepted.
    r = log_manual_record();
    r.x_min = 1e-6;
    r.x_max = 1e8;
    EXPECT_EQ(log_range_problem(r), "");
}

// A linear plot A axis with every option that a scale change may touch.
s_graph_settings linear_plot_a()
{
    s_graph_settings r{};
    r.axis_scale[PLOT_A] = AXIS_LINEAR;
    r.pad_type[PLOT_A] = PAD_BOTH;
    r.range[PLOT_A] = RANGE_CENTRE_0;
    r.range_flip[PLOT_A] = true;
    r.min[PLOT_A] = -40;
    r.axis_scale[PLOT_B] = AXIS_LINEAR;
    r.pad_type[PLOT_B] = PAD_FIRST_END;
    r.range[PLOT_B] = RANGE_MANUAL;
    r.min[PLOT_B] = 1e-9;
    r.x_axis_scale = AXIS_LINEAR;
    r.x_pad_type = PAD_BOTH;
    r.x_range = RANGE_NEAREST_0;
    r.x_range_flip = true;
    r.x_min = -3;
    return r;
}

TEST(GraphScaleChange, WhatEachChangeTouches)
{
    const struct {
        const char* name;
        std::int32_t from_scale;
        std::int32_t range;
        double min;
        std::int32_t to_scale;
        scale_change_source source;
        std::int32_t pad_type;  // expected after the change
        std::int32_t range_after;
        double min_after;
        bool flip_after;
    } cases[] = {
        {"menu to log, centre 0", AXIS_LINEAR, RANGE_CENTRE_0, -40, AXIS_LOG, scale_change_source::popup_menu,
         PAD_NONE, RANGE_AUTO, -40, true},
        {"menu to log, nearest 0", AXIS_LINEAR, RANGE_NEAREST_0, 5, AXIS_LOG, scale_change_source::popup_menu,
         PAD_NONE, RANGE_AUTO, 5, true},
        {"menu to log, manual minimum raised", AXIS_LINEAR, RANGE_MANUAL, -40, AXIS_LOG,
         scale_change_source::popup_menu, PAD_NONE, RANGE_MANUAL, 1e-6, true},
        {"menu to log, manual minimum kept", AXIS_LINEAR, RANGE_MANUAL, 1e-6, AXIS_LOG,
         scale_change_source::popup_menu, PAD_NONE, RANGE_MANUAL, 1e-6, true},
        {"menu to linear", AXIS_LOG, RANGE_MANUAL, -40, AXIS_LINEAR, scale_change_source::popup_menu, PAD_BOTH,
         RANGE_MANUAL, -40, true},
        {"menu, scale unchanged", AXIS_LOG, RANGE_CENTRE_0, -40, AXIS_LOG, scale_change_source::popup_menu,
         PAD_BOTH, RANGE_CENTRE_0, -40, true},
        {"dialog to log", AXIS_LINEAR, RANGE_MANUAL, 0, AXIS_LOG, scale_change_source::settings_dialog,
         PAD_NONE, RANGE_MANUAL, 1e-6, false},
        {"dialog to linear", AXIS_LOG, RANGE_NEAREST_0, -40, AXIS_LINEAR, scale_change_source::settings_dialog,
         PAD_NONE, RANGE_AUTO, -40, false},
        {"dialog to linear, manual", AXIS_LOG, RANGE_MANUAL, -40, AXIS_LINEAR,
         scale_change_source::settings_dialog, PAD_NONE, RANGE_MANUAL, 1e-6, false},
        {"dialog, scale unchanged", AXIS_LINEAR, RANGE_CENTRE_0, -40, AXIS_LINEAR,
         scale_change_source::settings_dialog, PAD_BOTH, RANGE_CENTRE_0, -40, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (int plot : {PLOT_A, PLOT_B}) {
            const int other = 1 - plot;
            s_graph_settings r = linear_plot_a();
            r.axis_scale[plot] = c.from_scale;
            r.pad_type[plot] = PAD_BOTH;
            r.range[plot] = c.range;
            r.range_flip[plot] = true;
            r.min[plot] = c.min;
            s_graph_settings expected = r;
            expected.axis_scale[plot] = c.to_scale;
            expected.pad_type[plot] = c.pad_type;
            expected.range[plot] = c.range_after;
            expected.min[plot] = c.min_after;
            expected.range_flip[plot] = c.flip_after;
            change_plot_axis_scale(r, plot, c.to_scale, c.source);
            expect_same_graph_settings(expected, r);
            EXPECT_EQ(r.axis_scale[other], expected.axis_scale[other]);
        }
    }
}

TEST(GraphScaleChange, HorizontalScaleAndUnknownPlotsChangeNothingElse)
{
    for (std::int32_t scale : {AXIS_LOG, AXIS_LINEAR}) {
        s_graph_settings r = linear_plot_a();
        s_graph_settings expected = r;
        expected.x_axis_scale = scale;
        change_horizontal_axis_scale(r, scale);
        expect_same_graph_settings(expected, r);

        r = linear_plot_a();
        change_plot_axis_scale(r, 2, AXIS_LOG, scale_change_source::settings_dialog);
        change_plot_axis_scale(r, -1, AXIS_LOG, scale_change_source::popup_menu);
        expect_same_graph_settings(linear_plot_a(), r);
    }
}

TEST(TestGraphBackground, MarginColoursStayVisible)
{
    // Margin colours 0 black, 1 white, 2 custom, for gain and phase of three tests.
    const std::int32_t opening[3][2] = {{0, 1}, {1, 2}, {2, 0}};
    const struct {
        std::int32_t mode;
        std::int32_t after[3][2];
    } cases[] = {
        {TEST_BACKGROUND_BLACK, {{1, 1}, {1, 2}, {2, 1}}},
        {TEST_BACKGROUND_WHITE, {{0, 0}, {0, 2}, {2, 0}}},
        {TEST_BACKGROUND_CUSTOM, {{0, 1}, {1, 2}, {2, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        s_test_graph_state state;
        for (int i = 0; i < 3; ++i) {
            auto plot = std::make_unique<s_test_plot>();
            plot->appearance = plot_appearance_opening(i);
            plot->appearance.gain_margin_colour = opening[i][0];
            plot->appearance.phase_margin_colour = opening[i][1];
            state.tests.push_back(std::move(plot));
        }
        state.tests.push_back(nullptr);  // an empty slot is passed over
        choose_test_graph_background(state, c.mode);
        EXPECT_EQ(state.background_mode, c.mode);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(state.tests[i]->appearance.gain_margin_colour, c.after[i][0]) << i;
            EXPECT_EQ(state.tests[i]->appearance.phase_margin_colour, c.after[i][1]) << i;
        }
    }
}

}  // namespace
