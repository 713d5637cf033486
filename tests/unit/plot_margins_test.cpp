// The graph window's margin search: crossing lists with run lengths, margin
// flags and messages, the margin band, the margin menu's state changes and
// plots made from stored tests.
#include "fra/margin_band.h"
#include "fra/margin_menu.h"
#include "fra/plot_margins.h"
#include "fra/test_plot_from_db.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "db/db_points.h"
#include "support/recording_prompt.h"

namespace {

struct recording_hooks final : test_graph_hooks {
    void rebuild_menus() override { calls.push_back("menus"); }
    void lay_out_margin_labels() override { calls.push_back("labels"); }
    void recompute_gain_range() override { calls.push_back("gain range"); }
    void redraw() override { calls.push_back("redraw"); }
    std::vector<std::string> calls;
};

s_test_plot& add_plot(s_test_graph_state& graph, const std::string& name, std::vector<s_test_graph_point> points)
{
    auto plot = std::make_unique<s_test_plot>();
    plot->name = name;
    plot->points = std::move(points);
    plot->appearance = plot_appearance_opening(static_cast<int>(graph.tests.size()));
    graph.tests.push_back(std::move(plot));
    return *graph.tests.back();
}

// Points at 1, 2, 3 ... Hz whose gain and phase both take the values.
std::vector<s_test_graph_point> same_gain_and_phase(const std::vector<double>& values)
{
    std::vector<s_test_graph_point> points;
    for (std::size_t i = 0; i < values.size(); ++i) {
        points.push_back({static_cast<double>(i + 1), values[i], values[i]});
    }
    return points;
}

struct found {
    std::int32_t segment;
    std::int32_t run_length;
};

std::vector<found> listed(const LList<s_gain_phase_point>& crossings)
{
    std::vector<found> out;
    for (const LList<s_gain_phase_point>::node* at = crossings.head; at != nullptr; at = at->next) {
        out.push_back({at->element->segment, at->element->run_length});
    }
    return out;
}

void expect_listed(const LList<s_gain_phase_point>& crossings, const std::vector<found>& expected)
{
    const std::vector<found> got = listed(crossings);
    ASSERT_EQ(got.size(), expected.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(got[k].segment, expected[k].segment) << "crossing " << k;
        EXPECT_EQ(got[k].run_length, expected[k].run_length) << "crossing " << k;
    }
}

struct run_case {
    const char* what;
    std::vector<double> values;
    std::vector<found> zero_db;     // runs counted forward
    std::vector<found> zero_phase;  // runs counted backward, the first from segment 0 on
};

TEST(PlotMargins, CountsRunLengthsForwardForGainAndBackwardForPhase)
{
    const run_case cases[] = {
        {"three crossings", {1, -1, -1, 1, -1, -1}, {{0, 2}, {2, 1}, {3, 1}}, {{0, 1}, {2, 2}, {3, 1}}},
        {"one late crossing", {-1, -1, -1, 1}, {{2, 0}}, {{2, 3}}},
        {"one early crossing", {1, -1, -1, -1, -1}, {{0, 3}}, {{0, 1}}},
        {"none", {1, 2, 3}, {}, {}},
    };
    for (const run_case& c : cases) {
        SCOPED_TRACE(c.what);
        s_test_graph_state graph;
        s_test_plot& plot = add_plot(graph, "T", same_gain_and_phase(c.values));
        recording_prompt prompt;
        find_plot_zero_db_points(graph, true, prompt);
        find_plot_zero_phase_points(graph, true, prompt);
        expect_listed(plot.zero_db, c.zero_db);
        expect_listed(plot.zero_phase, c.zero_phase);

        // The runs share out the segments, none counted twice: the 0 dB runs
        // those after the first crossing, the 0 degree runs those up to the
        // last crossing.
        if (!c.zero_db.empty()) {
            int gain_total = 0;
            int phase_total = 0;
            for (const found& f : listed(plot.zero_db)) {
                gain_total += f.run_length;
            }
            for (const found& f : listed(plot.zero_phase)) {
                phase_total += f.run_length;
            }
            const int last_segment = static_cast<int>(c.values.size()) - 2;
            EXPECT_EQ(gain_total, last_segment - c.zero_db.front().segment);
            EXPECT_EQ(phase_total, c.zero_phase.back().segment + 1);
        }
    }
}

TEST(PlotMargins, KeepsTheInterpolatedQuantityAndZeroInTheCrossedOne)
{
    s_test_graph_state graph;
    s_test_plot& plot = add_plot(graph, "T", {{100, 2, 10}, {200, -2, -30}});
    recording_prompt prompt;
    find_plot_zero_db_points(graph, true, prompt);
    find_plot_zero_db_points(graph, true, prompt);  // the list is refilled, not added to
    find_plot_zero_phase_points(graph, true, prompt);
    ASSERT_EQ(plot.zero_db.count, 1);
    const s_gain_phase_point& gain = *plot.zero_db.head->element;
    EXPECT_DOUBLE_EQ(gain.frequency, 150);
    EXPECT_EQ(gain.gain, 0);
    EXPECT_DOUBLE_EQ(gain.phase, -10);
    ASSERT_EQ(plot.zero_phase.count, 1);
    const s_gain_phase_point& phase = *plot.zero_phase.head->element;
    EXPECT_DOUBLE_EQ(phase.frequency, 125);
    EXPECT_DOUBLE_EQ(phase.gain, 1);
    EXPECT_EQ(phase.phase, 0);

    // Equal frequencies give a not-a-number phase, kept as it is.
    add_plot(graph, "U", {{100, 1, -90}, {100, -1, -100}});
    find_plot_zero_db_points(graph, true, prompt);
    ASSERT_EQ(graph.tests[1]->zero_db.count, 1);
    EXPECT_TRUE(std::isnan(graph.tests[1]->zero_db.head->element->phase));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST(PlotMargins, SetsTheFlagsAndTellsOfPlotsWithoutCrossings)
{
    s_test_graph_state graph;
    add_plot(graph, "Gain only", {{100, 2, -10}, {200, -2, -30}});
    add_plot(graph, "Phase only", {{100, 2, 10}, {200, 1, -30}});
    add_plot(graph, "Both", {{100, 2, 10}, {200, -2, -30}});
    add_plot(graph, "Empty", {});
    add_plot(graph, "Flat", {{100, 1, 1}});
    graph.tests[2]->appearance.band_mode = 0;
    recording_prompt prompt;
    recording_hooks hooks;
    find_gain_phase_margins(graph, false, prompt, hooks);

    const std::vector<std::string> told = {
        "On Phase only: \nNo gain 0dB point found",
        "On Flat: \nNo gain 0dB point found",
        "On Gain only: \nNo 0 Phase point found",
        "On Flat: \nNo 0 Phase point found",
    };
    ASSERT_EQ(prompt.messages.size(), told.size());
    for (std::size_t i = 0; i < told.size(); ++i) {
        EXPECT_EQ(prompt.messages[i].text, told[i]);
        EXPECT_EQ(prompt.messages[i].caption, "Corvexa2");
        EXPECT_EQ(prompt.messages[i].icon, prompt_icon::information);
    }
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"menus", "labels", "redraw"}));

    struct flags {
        bool margins_found;
        bool phase_margin_visible;
        bool band_found;
    };
    const flags expected[] = {
        {true, false, false}, {true, true, false}, {true, true, true}, {false, false, false}, {false, false, false}};
    for (std::size_t i = 0; i < graph.tests.size(); ++i) {
        SCOPED_TRACE(graph.tests[i]->name);
        const s_plot_appearance& look = graph.tests[i]->appearance;
        EXPECT_EQ(look.margins_found, expected[i].margins_found);
        EXPECT_EQ(look.phase_margin_visible, expected[i].phase_margin_visible);
        EXPECT_EQ(look.band_found, expected[i].band_found);
        EXPECT_FALSE(look.gain_margin_visible);  // left to the "Gain" item
    }
    const s_plot_appearance& both = graph.tests[2]->appearance;
    EXPECT_EQ(both.band_low, 125);
    EXPECT_EQ(both.band_high, 150);
    EXPECT_EQ(both.band_mode, 1);

    recording_prompt quiet;
    find_gain_phase_margins(graph, true, quiet, hooks);
    EXPECT_TRUE(quiet.messages.empty());
}

TEST(MarginBand, TakesTheLongestRunFirstOnTiesAndCutsTowardsZero)
{
    LList<s_gain_phase_point> crossings;
    EXPECT_EQ(best_crossing(crossings), nullptr);
    for (const auto& [frequency, run] : {std::pair{10.0, 2}, {20.0, 5}, {30.0, 5}, {40.0, 1}}) {
        crossings.append({frequency, 0, 0, 0, run});
    }
    ASSERT_NE(best_crossing(crossings), nullptr);
    EXPECT_EQ(best_crossing(crossings)->frequency, 20.0);

    const double nan_value = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, std::int32_t> cuts[] = {
        {150.9, 150}, {99.99, 99}, {-2.7, -2}, {-0.5, 0}, {nan_value, 0},
        {1e12, std::numeric_limits<std::int32_t>::max()}, {-1e12, std::numeric_limits<std::int32_t>::min()},
    };
    for (const auto& [frequency, whole] : cuts) {
        EXPECT_EQ(whole_hertz(frequency), whole) << frequency;
    }

    s_test_plot plot;
    plot.appearance = plot_appearance_opening(0);
    plot.appearance.band_mode = 0;
    plot.zero_db.append({150.9, 0, -30, 3, 4});
    compute_margin_band(plot);  // no 0 degree crossing: nothing set
    EXPECT_FALSE(plot.appearance.band_found);
    EXPECT_EQ(plot.appearance.band_mode, 0);
    plot.zero_phase.append({1e3, -3, 0, 0, 1});
    plot.zero_phase.append({99.99, -3, 0, 7, 7});
    compute_margin_band(plot);
    EXPECT_TRUE(plot.appearance.band_found);
    EXPECT_EQ(plot.appearance.band_low, 99);
    EXPECT_EQ(plot.appearance.band_high, 150);
    EXPECT_EQ(plot.appearance.band_mode, 1);

    // Computed once: a found band stays until the flags are cleared.
    plot.zero_db.head->element->frequency = 5000;
    plot.appearance.band_mode = 0;
    compute_margin_band(plot);
    EXPECT_EQ(plot.appearance.band_high, 150);
    EXPECT_EQ(plot.appearance.band_mode, 0);
}

TEST(MarginMenu, TogglesTheMarginStateOfAPlot)
{
    s_test_plot plot;
    plot.appearance = plot_appearance_opening(0);
    EXPECT_FALSE(margin_menu_listed(plot.appearance));
    plot.appearance.margins_found = true;
    EXPECT_TRUE(margin_menu_listed(plot.appearance));

    EXPECT_FALSE(margins_hidden_enabled(plot));
    plot.zero_db.append({1, 0, 0, 0, 0});
    plot.zero_phase.append({1, 0, 0, 0, 0});
    EXPECT_FALSE(margins_hidden_enabled(plot));  // one crossing in each list
    plot.zero_phase.append({2, 0, 0, 1, 1});
    EXPECT_TRUE(margins_hidden_enabled(plot));

    recording_hooks hooks;
    toggle_gain_margin_visible(plot.appearance, hooks);
    toggle_phase_margin_visible(plot.appearance, hooks);
    toggle_margins_hidden(plot.appearance, hooks);
    EXPECT_TRUE(plot.appearance.gain_margin_visible);
    EXPECT_TRUE(plot.appearance.phase_margin_visible);
    EXPECT_TRUE(plot.appearance.margins_hidden);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"redraw", "redraw", "labels", "redraw"}));
    toggle_margins_hidden(plot.appearance, hooks);
    EXPECT_FALSE(plot.appearance.margins_hidden);
}

TEST(MarginMenu, FilterNoiseSearchesOnlyWhileTheSelectedPlotHasNoGainCrossing)
{
    EXPECT_FALSE(filter_noise_enabled_at_load);
    s_test_graph_state graph;
    add_plot(graph, "Both", {{100, 2, 10}, {200, -2, -30}});
    add_plot(graph, "Flat", {{100, 1, 1}, {200, 2, 2}});
    recording_prompt prompt;
    recording_hooks hooks;

    graph.selected_test = 0;
    filter_noise(graph, prompt, hooks);
    EXPECT_EQ(graph.tests[0]->zero_db.count, 1);
    EXPECT_EQ(prompt.messages.size(), 2u);  // "Flat" has neither crossing
    EXPECT_EQ(graph.tests[0]->appearance.band_mode, 0);
    EXPECT_EQ(graph.tests[1]->appearance.band_mode, 0);
    EXPECT_EQ(hooks.calls.back(), "redraw");

    filter_noise(graph, prompt, hooks);  // crossings found: no second search
    EXPECT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(graph.tests[0]->appearance.band_mode, 1);
    EXPECT_EQ(graph.tests[1]->appearance.band_mode, 1);

    graph.selected_test = 1;  // still without a crossing: searched each time
    filter_noise(graph, prompt, hooks);
    EXPECT_EQ(prompt.messages.size(), 4u);
    graph.selected_test = 7;  // no such plot: only the band mode changes
    filter_noise(graph, prompt, hooks);
    EXPECT_EQ(prompt.messages.size(), 4u);
    EXPECT_EQ(graph.tests[0]->appearance.band_mode, 1);
}

TEST(TestPlotFromDb, CopiesNameAndPointsWithinTheRecord)
{
    s_db_test test;
    std::strcpy(test.name, "Loop A");
    for (const s_db_point& point : {s_db_point{100, 2, 10}, s_db_point{200, -2, -30}, s_db_point{300, -4, -50}}) {
        ASSERT_EQ(db_add_point(test, point), 0);
    }
    const std::unique_ptr<s_test_plot> plot = test_plot_from_db(test, 2);
    EXPECT_EQ(plot->name, "Loop A");
    ASSERT_EQ(plot->points.size(), 3u);
    EXPECT_EQ(plot->points[1].frequency, 200);
    EXPECT_EQ(plot->points[1].gain, -2);
    EXPECT_EQ(plot->points[1].phase, -30);
    EXPECT_EQ(plot->appearance.gain_colour_index, plot_appearance_opening(2).gain_colour_index);
    EXPECT_EQ(plot->zero_db.count, 0);

    // A name filling its field without an end, and a count beyond the slots.
    std::memset(test.name, 'x', sizeof test.name);
    test.capacity = 2;
    const std::unique_ptr<s_test_plot> damaged = test_plot_from_db(test, 0);
    EXPECT_EQ(damaged->name, std::string(sizeof test.name, 'x'));
    EXPECT_EQ(damaged->points.size(), 2u);
    test.capacity = db_point_growth;

    s_test_graph_state graph;
    for (int i = 0; i < TEST_GRAPH_MAX_TESTS; ++i) {
        EXPECT_TRUE(add_test_plot(graph, test));
    }
    EXPECT_FALSE(add_test_plot(graph, test));
    EXPECT_EQ(graph.tests.size(), static_cast<std::size_t>(TEST_GRAPH_MAX_TESTS));
    EXPECT_EQ(graph.tests[8]->appearance.phase_colour_index, 17);
}

}  // namespace
